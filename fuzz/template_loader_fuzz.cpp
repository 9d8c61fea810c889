// Fuzz target: the template reader.
//
// Any bytes either load or end in the loader's message; nothing crashes, hangs
// or reads out of bounds. What loads must save again, and the saved template
// must read back to the same bytes (apart from the time of the save): a load
// and a save never lose or damage anything. The pictures of a loaded template
// are decoded as drawing would, so damaged graphics fail only as GraphicError.

#include "platform/ui/uiservices.h"
#include "report/model/engine_context.h"
#include "report/model/objects.h"
#include "report/model/picture_codec.h"
#include "report/model/report.h"
#include "report/model/template_codec.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"

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
    std::optional<std::string> password(const std::string&, const std::string&) override { return std::nullopt; }
};

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "template round trip: %s\n", what);
    std::abort();
}

// The last 8 bytes of a template are the time it was saved.
constexpr std::size_t kSaveTimeBytes = 8;

bool sameApartFromSaveTime(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && a.size() >= kSaveTimeBytes
        && a.compare(0, a.size() - kSaveTimeBytes, b, 0, b.size() - kSaveTimeBytes) == 0;
}

void decodePictures(TfrReport& report)
{
    for (int i = 0; i < report.Pages.Count(); ++i)
        for (const auto& view : report.Pages.Items(i).PageObjects)
            if (const auto* picture = dynamic_cast<const TfrPictureView*>(view.get()); picture && !picture->Picture.IsEmpty()) {
                try {
                    decodeGraphic(picture->Picture.Kind, picture->Picture.Data);
                } catch (const GraphicError&) {
                    // Drawn as an empty box with a cross; the bytes stay.
                }
            }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static SilentUi silent;
    static const bool ready = [] {
        ui::installServices(&silent);
        resetPrinting(std::make_unique<VirtualPrinterBackend>());
        return true;
    }();
    (void)ready;
    resetEngine();

    TfrReport report;
    report.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size), TemplateOrigin::Memory);
    if (report.LoadFailed) return 0;
    decodePictures(report);

    std::string saved;
    try {
        saved = report.SaveToBytes();
    } catch (const TemplateSaveError& e) {
        // Texts and lists beyond 16 bits can be read (zero-terminated strings
        // of old versions; a list's stored count is not used when read) but
        // not written: the save refuses them by name. Nothing else may fail.
        if (std::string_view(e.what()).find("more than 65535") == std::string_view::npos) fail(e.what());
        return 0;
    }
    TfrReport again;
    again.LoadFromBytes(saved, TemplateOrigin::Memory);
    if (again.LoadFailed) fail("a saved template does not load");
    if (!sameApartFromSaveTime(saved, again.SaveToBytes())) fail("a saved template reads back differently");
    return 0;
}
