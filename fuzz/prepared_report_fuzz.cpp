// Fuzz target: the prepared-report reader (".frp" files).
//
// Any bytes either load whole or are refused with PreparedReportError, the
// pages that were there left as they were; nothing crashes, hangs or reads out
// of bounds. What loads can be shown: every page rebuilds its objects, draws
// and answers a pointer over it. What loads saves again, and the saved file
// reads back and saves to the same bytes.

#include "platform/ui/uiservices.h"
#include "report/canvas/recording_canvas.h"
#include "report/engine/prepared_pages.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"
#include "report/model/template_codec.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace pemvora;
using namespace pemvora::report;

class SilentUi : public ui::UiServices {
public:
    ui::Answer message(const std::string&, const std::string&, ui::Icon, ui::Buttons) override { return ui::Answer::Ok; }
    void error(const std::string&) override {}
};

[[noreturn]] void fail(const char* what, const char* detail = "")
{
    std::fprintf(stderr, "prepared report: %s %s\n", what, detail);
    std::abort();
}

// A page of the list before each load; a refused load must leave it alone.
void addSentinelPage(TfrEMFPages& pages)
{
    TfrPage custom(PaperRequest{kCustomPaper, 1000, 1000, 0, kDefaultBin});
    pages.Add(custom);
}

void showEveryPage(TfrEMFPages& pages)
{
    for (int i = 0; i < pages.Count(); ++i) {
        pages.Page(i).InUse = true;
        try {
            RecordingCanvas canvas;
            pages.Draw(i, canvas, {0, 0, 400, 560});
            std::string url;
            int cursor = 0;
            for (const Point point : {Point{10, 10}, Point{100, 200}, Point{400, 600}})
                pages.HitTest(i, point, url, cursor, false);
        } catch (const PreparedReportError& e) {
            fail("a loaded page does not draw:", e.what());
        }
        pages.Page(i).InUse = false;
        pages.ReleasePageObjects(i);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static SilentUi silent;
    static const bool ready = [] {
        // Drawing texts measures them with the platform's fonts, which need
        // an application; the offscreen platform needs no screen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_prepared_report";
        static char* argv[] = {name, nullptr};
        static QGuiApplication application(argc, argv);
        ui::installServices(&silent);
        resetPrinting(std::make_unique<VirtualPrinterBackend>());
        return true;
    }();
    (void)ready;
    resetEngine();

    TfrReport report;
    engine().CurrentReport = &report;
    TfrEMFPages& pages = PreparedPages(report);
    addSentinelPage(pages);
    try {
        pages.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const PreparedReportError&) {
        if (pages.Count() != 1 || pages.Page(0).Paper.size != kCustomPaper) fail("a refused file changed the pages");
        return 0;
    }
    showEveryPage(pages);

    std::string saved;
    try {
        saved = pages.SaveToBytes();
    } catch (const TemplateSaveError& e) {
        fail("a loaded report does not save:", e.what());
    }
    TfrReport second;
    engine().CurrentReport = &second;
    TfrEMFPages& again = PreparedPages(second);
    try {
        again.LoadFromBytes(saved);
    } catch (const PreparedReportError& e) {
        fail("a saved report does not load:", e.what());
    }
    if (again.SaveToBytes() != saved) fail("a saved report reads back differently");
    engine().CurrentReport = nullptr;
    return 0;
}
