#pragma once
// Finding a text in the prepared pages. A page is drawn at its paper size in
// design pixels on a recording canvas; what it logs, in drawing order, is the
// page's text source: every drawn text with its box. Every logged operation
// takes a number; the search remembers the page and the number after its last
// hit, so repeating it finds the next occurrence, on the same page first.

#include "report/canvas/canvas.h"

#include <optional>
#include <string>

namespace pemvora::report {

class TfrEMFPages;
struct TfrPreparedPage;

struct FoundText {
    int page = 0;        // 0-based
    Rect box;            // design pixels of the page, as drawn at its paper size
    std::string text;    // the whole text run that holds the match (GBK)
};

// Where a prepared page's objects are drawn inside its place on the screen:
// the whole rectangle for a page that used margins, else the printable area
// less the margins, scaled by `factor` and offset by the rectangle's corner.
Rect pageDrawRect(const TfrPreparedPage& page, const Rect& placed, double factor);

class TextSearch {
public:
    // A new search for `text` (GBK); ASCII letters match either case unless
    // `caseSensitive`. From the first page, or from the current page
    // (1-based) unless that is the page of the last hit.
    void Start(std::string text, bool caseSensitive, bool fromFirstPage, int currentPage);
    // Whether a search text exists (what repeating a search needs).
    bool HasText() const { return !text_.empty(); }
    // Before repeating: a search goes on from `currentPage` (1-based) when the
    // user has moved away from the page of the last hit.
    void Resume(int currentPage);
    // The next occurrence from the remembered page and number on; pages
    // without one are released again. nullopt after the last page (and the
    // search then stays past the end).
    std::optional<FoundText> Next(TfrEMFPages& pages);

    const std::string& Text() const { return text_; }
    bool CaseSensitive() const { return caseSensitive_; }
    int LastFoundPage() const { return lastFoundPage_; }
    int LastFoundObject() const { return lastFoundObject_; }

private:
    std::string text_;      // upper-cased unless case sensitive
    bool caseSensitive_ = false;
    int lastFoundPage_ = 0;
    int lastFoundObject_ = 0;
};

} // namespace pemvora::report
