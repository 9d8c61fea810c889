// Text measuring on the 96-DPI scratch canvas: line breaking measures growing
// prefixes of a line, so textExtent is the drawing layer's hot path.

#include "platform/text/gbk.h"
#include "report/canvas/fontmap.h"
#include "report/canvas/painter_canvas.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace pemvora;

void measurePrefixes(benchmark::State& state, const char* family, const char* utf8)
{
    report::ScratchCanvas canvas;
    report::Font f;
    f.name = text::utf8ToGbk(family);
    f.height = 13;
    canvas.setFont(f);
    const std::string line = text::utf8ToGbk(utf8);
    for (auto _ : state) {
        int total = 0;
        for (std::size_t n = 1; n <= line.size(); ++n) total += canvas.textWidth(std::string_view(line).substr(0, n));
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(line.size()));
}

void BM_MeasurePrefixesChinese(benchmark::State& state)
{
    measurePrefixes(state, "宋体", "人民币壹拾贰万零叁拾肆元伍角陆分整，转账支票，收款人：某某有限公司");
}
BENCHMARK(BM_MeasurePrefixesChinese);

void BM_MeasurePrefixesLatin(benchmark::State& state)
{
    measurePrefixes(state, "Arial", "Amount 120034.56 paid to the order of a company limited, account 6222");
}
BENCHMARK(BM_MeasurePrefixesLatin);

} // namespace

int main(int argc, char** argv)
{
    report::loadFontConfiguration();
    if (const char* p = std::getenv("QT_QPA_PLATFORM"); p == nullptr || *p == '\0') ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
