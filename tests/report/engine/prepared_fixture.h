#pragma once
// What the prepared-page tests share: a clean engine on the virtual printer,
// a report that owns the prepared pages, and template pages of given papers.

#include "report/engine/prepared_pages.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace pemvora::report::enginetest {

class PreparedFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetEngine();
        resetPrinting(std::make_unique<VirtualPrinterBackend>());
        engine().CurrentReport = &report;
    }
    void TearDown() override { resetEngine(); }

    // A template page of the given paper; `stretch` sets "StretchToPrintable".
    static std::unique_ptr<TfrPage> templatePage(PaperRequest paper = {}, PageMargins margins = {},
                                                 bool stretch = false)
    {
        auto page = std::make_unique<TfrPage>(paper);
        page->Margins = margins;
        page->MarginsInUse = !stretch;
        return page;
    }

    // A text object as the band engine prints it: its lines already expanded.
    static std::unique_ptr<TfrMemoView> printedText(std::string name, int left, int top, int width, int height,
                                                    StringList lines)
    {
        auto memo = std::make_unique<TfrMemoView>();
        memo->Name = std::move(name);
        memo->PlaceAt(left, top, width, height);
        memo->Memo = {"[expression]"};
        memo->WorkLines = std::move(lines);
        return memo;
    }

    TfrReport report;
    TfrEMFPages& pages = PreparedPages(report);
};

} // namespace pemvora::report::enginetest
