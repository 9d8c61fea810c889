#pragma once
// TfrEMFPages: the prepared pages of a report. A run of the band engine draws
// nothing; every printed object writes its record into the stream of the
// current prepared page. A page keeps the paper it was prepared on, its page
// geometry and that stream; its objects are rebuilt from the stream only while
// the page is in use (drawn, printed, edited) and released afterwards.
//
// Page stream: one byte, the format version of the object records (25), then
// the records back to back up to the end of the stream: a kind byte, for kind
// 10 the class name, then the object's record in its prepared form.
//
// The same list is saved to and loaded from a prepared-report file (".frp"),
// see prepared_file.cpp.

#include "report/canvas/canvas.h"
#include "report/model/binary_stream.h"
#include "report/model/page.h"
#include "report/printer/printer.h"

#include <Qt>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

class TfrReport;
class TfrView;

// The version byte that starts every page stream this system writes.
inline constexpr std::uint8_t kPreparedRecordVersion = 25;

// A prepared page or prepared-report file whose bytes make no sense. The
// message says what is wrong, in words for the user.
class PreparedReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The cursor a hit test asks for, as Qt's cursor shapes.
namespace hitcursor {
inline constexpr int Default = Qt::ArrowCursor;
inline constexpr int HandPoint = Qt::PointingHandCursor;
} // namespace hitcursor

struct TfrPreparedPage {
    // The page's place in the preview's layout, preview pixels (the preview sets it).
    Rect LayoutRect;
    // Paper size code (16 bits), width and height (0.1 mm), orientation, bin,
    // and the page metrics at preparation (or loading) time.
    PagePaper Paper;
    // The template page used margins (false: "StretchToPrintable").
    bool UseMargins = true;
    PageMargins Margins;
    // The page is shown or being printed; drawing a page that is not in use
    // releases its objects instead.
    bool InUse = false;
    // The object records of the page.
    BinaryWriter Stream;
    // The objects rebuilt from Stream while the page is in use.
    std::unique_ptr<TfrPage> PageObjects;
};

// One object record as a page stream holds it: the kind byte, for kind 10 the
// class name, then the record written with PreparedMode set (and cleared
// again). What the record holds as text is the object's WorkLines.
void WritePreparedRecord(BinaryWriter& stream, TfrView& view);

// The objects of a page stream, each read with PreparedMode set. A stream that
// cannot be read whole raises PreparedReportError and gives nothing.
std::vector<std::unique_ptr<TfrView>> ReadPreparedObjects(std::string_view stream);

class TfrEMFPages {
public:
    explicit TfrEMFPages(TfrReport* report = nullptr) : report_(report) {}
    TfrEMFPages(const TfrEMFPages&) = delete;
    TfrEMFPages& operator=(const TfrEMFPages&) = delete;

    int Count() const { return static_cast<int>(pages_.size()); }
    // The record of a page; an index out of range raises std::out_of_range.
    TfrPreparedPage& Page(int index) const { return *pages_.at(static_cast<std::size_t>(index)); }
    TfrPreparedPage& operator[](int index) const { return Page(index); }

    // Deletes every page.
    void Clear();
    // A new page at the end (Insert), then OnBeginPage(PageNo) on the current
    // report and, when it is another one, on the root report.
    void Add(const TfrPage& templatePage);
    // A new page at `index` (at the end when index >= Count()) with the paper,
    // margins and metrics of the template page and a stream holding the
    // version byte alone. Returns whether the template page used margins.
    bool Insert(int index, const TfrPage& templatePage);
    // Frees the page's objects and stream and removes it; the pages after it
    // move up. An index out of range does nothing.
    void Delete(int index);

    // A run prints an object into a page: view.Print(stream) with PreparedMode
    // set for the length of the call (an invisible object writes nothing).
    void PrintObject(int index, TfrView& view);
    // Writes one object record as it is into a page's stream (WritePreparedRecord).
    void AppendObject(int index, TfrView& view);

    // Stream -> objects, only while the page has none: a TfrPage with the
    // page's paper (applied through the printer), margins and
    // StretchToPrintable becomes the engine's current page and receives the
    // objects. A stream that cannot be read raises PreparedReportError and
    // leaves the page without objects.
    void LoadPageObjects(int index);
    // Objects -> stream (after the page was edited): the version byte, then
    // every object with its Memo as the printed text. An object that cannot be
    // stored raises TemplateSaveError and the stream stays as it was.
    void StorePageObjects(int index);
    // Frees the objects rebuilt from the stream.
    void ReleasePageObjects(int index);

    // --- drawing and pointing (prepared_draw.cpp) ---
    // Draws a page scaled into `rect` of a canvas (Running becomes 1). A page
    // that is not InUse only releases its objects. Objects whose box, widened
    // by 10 pixels, cannot be seen on the canvas are skipped, unless the canvas
    // is the page of a running print job. A stream that cannot be read raises
    // PreparedReportError.
    void Draw(int index, Canvas& canvas, const Rect& rect);
    // The object under `point` (design pixels of the page), the topmost first;
    // the first object whose box holds the point decides.
    //   Click: the report's OnObjectClick hears of it. An object whose name
    //   begins with "URL" follows its Tag: "@" and a page number gives that as
    //   `url`; an http, https or mailto address is opened through the engine's
    //   LinkOpener; anything else is not opened and `status` says so.
    //   Hover: the report's OnMouseOverObject may set `cursor`; over a "URL"
    //   object the cursor is the hand and `url` its Tag.
    // Returns whether the point was taken (an event, a link).
    bool HitTest(int index, Point point, std::string& url, int& cursor, bool isClick,
                 std::string* status = nullptr);

    // --- the prepared-report file (prepared_file.cpp) ---
    // The current layout: version 25, no compression, the selected printer's
    // name, the pages, the report's generator version. A page that cannot be
    // stored raises TemplateSaveError and nothing is written.
    void SaveToStream(BinaryWriter& out) const;
    std::string SaveToBytes() const;
    // Both layouts (current and the older picture layout). The whole file is
    // read and checked first: a damaged or truncated file raises
    // PreparedReportError and the pages stay as they were. On success the
    // stored printer is selected (unless the report prints to the default
    // printer), every page's paper is applied and its metrics computed, and
    // the report takes the file's generator version.
    void LoadFromStream(BinaryReader& in);
    void LoadFromBytes(std::string_view bytes);
    // Files: LoadFromFile raises PreparedReportError also for a file that
    // cannot be opened; SaveToFile writes a temporary file renamed over
    // `fileName` at the end and raises PreparedReportError when it cannot.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    TfrReport* Report() const { return report_; }

private:
    TfrReport* report_;
    std::vector<std::unique_ptr<TfrPreparedPage>> pages_;
};

// The prepared pages a report owns, made on first use.
TfrEMFPages& PreparedPages(TfrReport& report);

// Reads a prepared-report file into the report's prepared pages; pages that
// come from a file cannot be prepared again (CanRebuild is cleared).
void LoadPreparedReport(TfrReport& report, const std::string& fileName);
void SavePreparedReport(TfrReport& report, const std::string& fileName);

} // namespace pemvora::report
