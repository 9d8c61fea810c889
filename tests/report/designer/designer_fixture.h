#pragma once
// A report with one page and a few objects for the designer's command tests,
// on the virtual printer, with the UI's questions recorded and answered.

#include "report/designer/designer_document.h"
#include "report/designer/designer_session.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"
#include "tests/support/recording_ui.h"

#include <gtest/gtest.h>

#include <memory>

namespace pemvora::report::test {

class DesignerTest : public ::testing::Test {
protected:
    DesignerTest()
    {
        resetEngine();
        resetPrinting(std::make_unique<VirtualPrinterBackend>());
        resetDesignerSession();
        report = std::make_unique<TfrReport>();
        engine().CurrentReport = report.get();
        report->Pages.Add({kCustomPaper, 1750, 800, 0, kDefaultBin});
        doc = std::make_unique<DesignerDocument>(*report);
    }

    TfrPage& page() { return doc->page(); }

    TfrMemoView& memo(const char* name, int left, int top, int width = 40, int height = 20)
    {
        auto& m = page().Add<TfrMemoView>();
        m.Name = name;
        m.PlaceAt(left, top, width, height);
        return m;
    }

    TfrBandView& band(const char* name, int bandKind, int top, int height)
    {
        auto& b = page().Add<TfrBandView>();
        b.Name = name;
        b.SetBandKind(bandKind);
        b.PlaceAt(0, top, 600, height);
        return b;
    }

    static ViewRect at(const TfrView& v) { return {v.Left, v.Top, v.Width, v.Height}; }

    testsupport::ScopedRecordingUi ui;
    std::unique_ptr<TfrReport> report;
    std::unique_ptr<DesignerDocument> doc;
};

} // namespace pemvora::report::test
