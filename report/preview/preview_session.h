#pragma once
// PreviewSession: everything the preview window knows and does, without a
// window. It shows the report's prepared pages (the list stays the report's,
// so printing and exporting find it there; closing the preview clears it),
// lays them out at the zoom, keeps the scroll
// positions and the current page, answers where the mouse is, searches text,
// adds and removes pages, opens and saves prepared-report files, and paints
// the page box on any QPainter. The preview window and the embedded control
// are thin views over one session.
//
// Pages are drawn only while they are in view: painting marks each page in
// use or not, and a page out of view gives its rebuilt objects back.

#include "report/canvas/canvas.h"
#include "report/preview/preview_find.h"
#include "report/preview/preview_layout.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPainter;

namespace pemvora::report {

class TfrReport;
class TfrEMFPages;

// Colours of the page box.
inline constexpr Color kPageBoxBackground = rgb(128, 128, 128);

class PreviewSession {
public:
    explicit PreviewSession(TfrReport& report);
    // Clears the pages it shows: once a preview closes, the report's prepared
    // pages are gone.
    ~PreviewSession();
    PreviewSession(const PreviewSession&) = delete;
    PreviewSession& operator=(const PreviewSession&) = delete;

    TfrReport& Report() const { return report_; }

    // --- the pages ---
    // Shows the report's prepared pages (made empty when it has none).
    void TakePages();
    // Shows no pages any more; the report keeps them.
    void GiveBackPages();
    // The pages shown; nullptr when none are.
    TfrEMFPages* Pages() const { return pages_.get(); }
    int PageCount() const;
    bool HasPages() const { return PageCount() > 0; }

    // --- the view ---
    // The page box's client size; lays the pages out again when it changed.
    void SetBoxSize(Size box);
    Size BoxSize() const { return box_; }
    // The engine-wide last zoom becomes the session's; with resetPosition the
    // first page is current and the scroll positions are 0. Every page leaves
    // use and gives its objects back.
    void ResetView(bool resetPosition);
    void LayoutPages();
    // The zoom menu: a percentage tag or a mode tag (1..3). The choice becomes
    // the engine-wide last zoom.
    void PickZoom(int tag);
    const Zoom& CurrentZoom() const { return zoom_; }
    const PageLayout& Layout() const { return layout_; }

    // Scroll positions (0..range); setting the vertical one makes current the
    // page under the line 11 pixels below the view's top.
    Point ScrollPosition() const { return scroll_; }
    void SetVerticalPosition(int y);
    void SetHorizontalPosition(int x);
    void ScrollBy(int dx, int dy);

    // 1-based; GoToPage scrolls the page's top to 10 pixels below the view's top.
    int CurrentPage() const { return curPage_; }
    void GoToPage(int page);
    std::string PageLabel() const { return pageLabel(curPage_, PageCount()); }
    // Told the 1-based current page whenever the page label changes.
    std::function<void(int page)> OnPageChanged;

    // A page's place in the page box as it is scrolled now.
    Rect ScreenRect(int index) const;
    // The 0-based page under a point of the page box.
    std::optional<int> PageAt(Point boxPoint) const;

    // --- the mouse ---
    struct Pointed {
        bool taken = false;            // a click went to an object (an event or a link)
        std::optional<int> page;       // 0-based page under the point
        int cursor = 0;                // Qt::CursorShape
        std::string status;            // UTF-8, for the status label
    };
    // A left click: the page becomes the candidate, the object under the point
    // hears of the click; a page link ("@n") moves to page n (n <= 0 as 1, n
    // beyond the pages ignored). When nothing took the click the clicked page
    // becomes current (the view then drags).
    Pointed Click(Point boxPoint);
    // The mouse over the box: the cursor and the status text an object asks for.
    Pointed Hover(Point boxPoint);

    // --- painting ---
    // Paints the part `viewport` (page box pixels) of the page box: the grey
    // background, every page in view as a white sheet with a border and a
    // shadow, its objects, and the found text inverted. Pages out of view give
    // their objects back.
    void Paint(QPainter& painter, const Rect& viewport);
    // The pages marked in use by the last Paint.
    std::vector<int> PagesInUse() const;

    // --- find ---
    // Starts a search and shows its first hit; false when there is none.
    bool Find(const std::string& text, bool caseSensitive, bool fromFirstPage);
    // Repeats the search (F3): from the current page when the user moved away
    // from the page of the last hit.
    bool FindNext();
    bool HasSearchText() const { return search_.HasText(); }
    const TextSearch& Search() const { return search_; }
    // The found text's box in the page box as scrolled now.
    std::optional<Rect> FoundBox() const;
    // The found text as found (page and design-pixel box).
    const std::optional<FoundText>& Found() const { return found_; }

    // --- page editing ---
    bool CanDeletePage() const { return PageCount() > 1; }
    // Removes the current page and shows the first one.
    void DeletePage();
    // A blank page with the paper of the report's first template page before
    // the current page; false when the report has no template page.
    bool AddPage();

    // --- files ---
    // Reads a prepared-report file into the report in place of the pages
    // shown. A file that cannot be read raises PreparedReportError and the
    // pages shown stay.
    void Open(const std::string& fileName);
    // Writes the pages as a prepared-report file, the extension made ".frp";
    // returns the name written. Failures raise (PreparedReportError,
    // TemplateSaveError) and the pages stay shown.
    std::string Save(const std::string& fileName);
    // Runs `action` on the report's pages (print, export, edit, prepare
    // again), then shows the pages the report has afterwards, also when it
    // raises, keeping the current page when it still exists.
    void RunOnReportPages(const std::function<void()>& action);

private:
    std::vector<Size> Papers() const;
    void ReleaseAll();
    void UpdateCurrentFromScroll();
    void SetCurrent(int page);
    bool ShowNextHit();
    void ShowFound();

    TfrReport& report_;
    std::shared_ptr<TfrEMFPages> pages_;
    Size box_;
    Zoom zoom_;
    PageLayout layout_;
    Point scroll_;
    int curPage_ = 1;
    TextSearch search_;
    std::optional<FoundText> found_;
};

// The name a prepared report is saved under: the extension replaced by ".frp".
std::string withPreparedExtension(const std::string& fileName);

} // namespace pemvora::report
