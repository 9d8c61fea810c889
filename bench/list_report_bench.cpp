// A list report of 100,000 CSV rows prepared into prepared pages: a page
// header with the page number and the page count (so two passes), a group
// header and footer by region with the region's total, a master band of five
// text objects (one amount in a display format) and a summary. Reports rows
// per second of the preparation and the process's peak memory; the CSV file
// is read once, outside the timing (its reading is shown as csv_ms).
// PEMVORA_LIST_ROWS=n makes a list of n rows instead (for a profiler).

#include "report/data/csv_dataset.h"
#include "report/data/datasource.h"
#include "report/engine/prepare.h"
#include "report/engine/prepared_pages.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"
#include "report/script/displayformat.h"
#include "report/canvas/fontmap.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace {

using namespace pemvora;
using namespace pemvora::report;

int rowCount()
{
    static const int rows = [] {
        const char* n = std::getenv("PEMVORA_LIST_ROWS");
        return n && std::atoi(n) > 0 ? std::atoi(n) : 100'000;
    }();
    return rows;
}

std::string csvPath()
{
    static const std::string path = [] {
        const std::string p = fmt::format("/tmp/pemvora-list-bench-{}.csv", ::getpid());
        std::ofstream out(p, std::ios::binary);
        out << "no,date,payee,region,amount\n";
        for (int n = 1; n <= rowCount(); ++n)
            out << n << ",2008-03-" << (n % 28 + 1) << ",\"北京某某科技有限公司 " << n % 977 << "\",R" << n / 1000
                << "," << (n * 37 % 100000) << "." << n % 100 << "\n";
        return p;
    }();
    return path;
}

TfrMemoView& addText(TfrPage& page, const char* name, int left, int top, int width, std::string memo)
{
    auto& m = page.Add<TfrMemoView>();
    m.Name = name;
    m.PlaceAt(left, top, width, 17);
    m.Memo = {std::move(memo)};
    m.Flags = flag::WordWrap;
    m.DisplayFormat = 0;
    return m;
}

TfrBandView& addBand(TfrPage& page, int kind, const char* name, int top, int height)
{
    auto& b = page.Add<TfrBandView>();
    b.SetBandKind(kind);
    b.Name = name;
    b.Flags = 0;
    b.PlaceAt(0, top, 700, height);
    return b;
}

void buildList(TfrReport& report)
{
    report.TwoPass = true;
    TfrPage& page = report.Pages[report.Pages.Add()];
    page.Margins = {36, 36, 36, 36};
    addBand(page, bandkind::PageHeader, "PageHeader1", 0, 24).Flags = flag::OnFirstPage;
    addText(page, "Title", 0, 0, 400, "Payments");
    addText(page, "PageNo", 500, 0, 200, "Page [PAGE#] of [TOTALPAGES]");
    addBand(page, bandkind::GroupHeader, "GroupHeader1", 40, 20).SetProperty("Condition", "[Data.region]");
    addText(page, "Region", 0, 40, 300, "Region [Data.region]");
    addBand(page, bandkind::MasterData, "MasterData1", 80, 18).SetProperty("DataSource", "Data");
    addText(page, "No", 0, 80, 60, "[Data.no]");
    addText(page, "Date", 60, 80, 90, "[Data.date]");
    addText(page, "Payee", 150, 80, 300, "[Data.payee]");
    addText(page, "RegionCol", 450, 80, 60, "[Data.region]");
    TfrMemoView& amount = addText(page, "Amount", 510, 80, 150, "[Data.amount]");
    amount.DisplayFormat = DisplayFormat{category::Number, kCustomKind, 0, 0}.pack();
    amount.DisplayFormatText = "#,##0.00";
    addBand(page, bandkind::GroupFooter, "GroupFooter1", 120, 20);
    addText(page, "RegionTotal", 450, 120, 210, "Total [SUM([Data.amount])]");
    addBand(page, bandkind::ReportSummary, "ReportSummary1", 160, 20);
    addText(page, "GrandTotal", 300, 160, 360, "[COUNT(MasterData1)] rows, [SUM([Data.amount])]");
}

long peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void BM_PrepareListOf100000CsvRows(benchmark::State& state)
{
    resetEngine();
    resetPrinting(std::make_unique<VirtualPrinterBackend>());
    const auto csvStart = std::chrono::steady_clock::now();
    std::unique_ptr<MemoryDataSet> rows = LoadCsvFile(csvPath(), "Data.csv");
    const double csvMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - csvStart).count();
    TfrDBDataSet source("Data");
    source.SetDataSet(rows.get());
    ComponentContainer window("Form1");
    window.add(&source);

    TfrReport report;
    engine().CurrentReport = &report;
    report.Owner = &window;
    buildList(report);

    int pages = 0;
    for (auto _ : state) {
        const PrepareResult result = PrepareReportPages(report);
        if (result.Failed) {
            state.SkipWithError(result.ErrorText.c_str());
            break;
        }
        pages = result.Pages;
    }
    std::size_t bytes = 0;
    TfrEMFPages& prepared = PreparedPages(report);
    for (int i = 0; i < prepared.Count(); ++i) bytes += prepared.Page(i).Stream.data().size();
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(rowCount()) * static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate);
    state.counters["pages"] = pages;
    state.counters["page_MiB"] = static_cast<double>(bytes) / (1 << 20);
    state.counters["csv_ms"] = csvMs;
    state.counters["peak_MiB"] = static_cast<double>(peakMiB());
    prepared.Clear();
    resetEngine();
}
BENCHMARK(BM_PrepareListOf100000CsvRows)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    loadFontConfiguration();
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(csvPath().c_str());
    return 0;
}
