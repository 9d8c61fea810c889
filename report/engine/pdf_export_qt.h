#pragma once
// TfrPdfExportFilter: prepared pages as a PDF file, one PDF page per prepared
// page at that page's paper size, every object drawn as the printer draws it
// (texts stay text, in the fonts the font map chose, embedded as subsets).
// Qt's PDF writer does the writing, into the export's stream.

#include "report/model/export_filter.h"

#include <memory>

namespace pemvora::report {

class TfrPdfExportFilter : public TfrExportFilter {
public:
    // Device pixels per inch of the drawing (design pixels are scaled to them).
    static constexpr int kResolution = 600;

    TfrPdfExportFilter();
    ~TfrPdfExportFilter() override;

    std::string Extension() const override { return ".pdf"; }
    std::string Description() const override { return "PDF file"; }

    void StartExport() override;
    void FinishExport() override;
    void StartExportPage(const ExportPageInfo& page) override;
    void FinishExportPage() override;
    void ExportObject(int x, int y, TfrView& object) override;

    // The document's title in the file's information (engine text).
    std::string Title;

private:
    struct Writer;
    std::unique_ptr<Writer> writer_;
};

} // namespace pemvora::report
