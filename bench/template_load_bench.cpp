// Loading large templates: many unnamed objects (each gets a generated name),
// many pages (each gets a page name) and a large dictionary. A load must stay
// linear or n log n in the size of the file.

#include "platform/ui/uiservices.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace pemvora;
using namespace pemvora::report;

struct Bytes {
    std::string s;
    Bytes& u8(int v) { s.push_back(static_cast<char>(v)); return *this; }
    Bytes& u16(int v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    Bytes& i32(std::int64_t v)
    {
        for (int i = 0; i < 4; ++i) u8(static_cast<int>((v >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& raw(std::string_view b) { s.append(b); return *this; }
    Bytes& str(std::string_view t) { return u16(static_cast<int>(t.size())).raw(t).u8(0); }
};

// A version-22 page record: no name stored, so each page gets a generated one.
void oldPage(Bytes& b)
{
    b.u8(0xFF).i32(9).i32(2100).i32(2970);
    for (int i = 0; i < 4; ++i) b.i32(0);
    b.u8(0).raw(std::string(6, '\0')).u16(0).u16(0xFFFF).i32(1).i32(0);
}

// A version-22 line object: no name stored, so each gets "Line" + N.
void oldLine(Bytes& b, int n)
{
    b.u8(4).u8(0);
    b.i32(n % 500).i32(n / 500).i32(20).i32(0).u16(0).u16(0).i32(1).i32(0).u16(0).i32(0x1FFFFFFF);
    b.i32(0).u8(0);   // display format, empty format text
    b.u8(0);          // empty text
}

std::string oldTemplateWithObjects(int count)
{
    Bytes b;
    b.u8(22).u16(0).u16(0).u8(0);
    oldPage(b);
    for (int i = 0; i < count; ++i) oldLine(b, i);
    b.u8(0xFC);
    return b.s;
}

std::string oldTemplateWithPages(int count)
{
    Bytes b;
    b.u8(22).u16(0).u16(0).u8(0);
    for (int i = 0; i < count; ++i) oldPage(b);
    b.u8(0xFC);
    return b.s;
}

std::string templateWithVariables(int count)
{
    Bytes b;
    b.u8(25).u16(0).u16(0).str("");
    b.u8(0xFF).i32(-1).i32(9).i32(2100).i32(2970);
    for (int i = 0; i < 4; ++i) b.i32(0);
    b.u8(0).i32(-1).u16(0).u16(0xFFFF).i32(1).i32(0).u8(0).str("Page1").u8(3).str("Form").i32(0);
    b.i32(0).i32(0).i32(0).i32(0).u8(0).u16(0).u8(0);
    b.u8(0xFE).u16(0xFFFE);
    b.i32(count + 1).str(" Cheque").str("");
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        b.str(std::string("v").append(number)).str(std::string("1 + ").append(number));
    }
    b.i32(0).i32(0);
    b.u8(0xFC);
    return b.s;
}

class SilentUi : public ui::UiServices {
public:
    ui::Answer message(const std::string&, const std::string&, ui::Icon, ui::Buttons) override
    {
        ++messages;
        return ui::Answer::Ok;
    }
    void error(const std::string&) override { ++messages; }
    std::optional<std::string> password(const std::string&, const std::string&) override { return std::nullopt; }
    int messages = 0;
};

// Loads `bytes` once per iteration and checks that the load succeeded.
void loadRepeatedly(benchmark::State& state, const std::string& bytes, int pages, int objects, int variables)
{
    resetEngine();
    resetPrinting(std::make_unique<VirtualPrinterBackend>());
    SilentUi ui;
    ui::installServices(&ui);
    for (auto _ : state) {
        TfrReport report;
        report.LoadFromBytes(bytes, TemplateOrigin::Memory);
        if (report.LoadFailed || ui.messages != 0 || report.Pages.Count() != pages
            || report.Pages.Items(0).ObjectCount() != objects || report.Dictionary.VarList.Count() != variables) {
            state.SkipWithError("the template did not load as built");
            break;
        }
    }
    ui::installServices(nullptr);
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

void BM_LoadOldObjects(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    loadRepeatedly(state, oldTemplateWithObjects(n), 1, n, 0);
}
BENCHMARK(BM_LoadOldObjects)->Arg(2000)->Arg(60000)->Unit(benchmark::kMillisecond);

void BM_LoadOldPages(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    loadRepeatedly(state, oldTemplateWithPages(n), n, 0, 0);
}
BENCHMARK(BM_LoadOldPages)->Arg(2000)->Arg(60000)->Unit(benchmark::kMillisecond);

void BM_LoadDictionary(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    loadRepeatedly(state, templateWithVariables(n), 1, 0, n + 1);
}
BENCHMARK(BM_LoadDictionary)->Arg(60000)->Arg(200000)->Unit(benchmark::kMillisecond);

} // namespace
