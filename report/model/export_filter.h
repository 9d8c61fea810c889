#pragma once
// TfrExportFilter: writes a report's prepared pages into a file of another
// form (PDF, text, ...). A host hands one to ExportPreparedPages
// (report/engine/run_control.h), which sets FileName and Stream, asks
// ConfirmExport, and then calls, in this order:
//
//   StartExport()
//   for every prepared page:
//       StartExportPage(page)
//       ExportObject(x, y, object)             every object of the page, as its ExportContent hands it
//       ExportTextLine(rect, x, y, text, ...)  every drawn line of a text object, after its ExportObject
//       FinishExportPage()
//   FinishExport()
//
// While the export runs the report's ActiveExportFilter points at the filter;
// objects hand themselves to it from TfrView::ExportContent. Objects arrive at
// design pixels of their page (positions, sizes and the text line geometry);
// a filter that draws them scales them itself.
//
// A filter writes only to Stream: the export writes into a temporary file that
// replaces FileName only when the whole export went through, so a filter never
// opens FileName itself.

#include "report/model/page.h"
#include "report/printer/printer.h"

#include <cstdint>
#include <functional>
#include <string>

class QIODevice;

namespace pemvora::report {

class TfrView;

// What a filter learns of the page it is about to receive.
struct ExportPageInfo {
    int Index = 0;                 // 0-based prepared page
    PagePaper Paper;               // size, orientation, bin and metrics (design pixels)
    bool UseMargins = true;        // false: the page was prepared stretched to the printable area
    PageMargins Margins;
};

class TfrExportFilter {
public:
    virtual ~TfrExportFilter() = default;

    // Set by the export: the file the user asked for (GBK) and where to write.
    std::string FileName;
    QIODevice* Stream = nullptr;

    // Called before anything is written: may change FileName and may refuse
    // the export by setting `go` false.
    std::function<void(std::string& fileName, bool& go)> OnBeforeExport;
    // Called after a complete export with the file written.
    std::function<void(const std::string& fileName)> OnAfterExport;

    // The extension of the files this filter writes (".pdf") and its name in
    // a file dialog ("PDF file").
    virtual std::string Extension() const = 0;
    virtual std::string Description() const = 0;

    // Asks whatever the filter needs to ask (options); 1 goes ahead, anything
    // else leaves the file untouched.
    virtual int ConfirmExport() { return 1; }
    virtual void StartExport() {}
    virtual void FinishExport() {}
    virtual void StartExportPage(const ExportPageInfo& page) { (void)page; }
    virtual void FinishExportPage() {}
    // An object of the page, with its left and top on the page.
    virtual void ExportObject(int x, int y, TfrView& object)
    {
        (void)x;
        (void)y;
        (void)object;
    }
    // One line of a text object as it is drawn: the object's paint rectangle,
    // where the line starts, its text (GBK), the frame lines (FrameTyp bits)
    // that belong to this line.
    virtual void ExportTextLine(const Rect& paintRect, int x, int y, const std::string& text,
                                std::uint16_t frameLines, TfrView& object)
    {
        (void)paintRect;
        (void)x;
        (void)y;
        (void)text;
        (void)frameLines;
        (void)object;
    }
};

} // namespace pemvora::report
