// The printer wrapper: paper table, virtual printer, device rules through a
// recording backend, page-level ApplyPaper and the report's printer choice.

#include "report/printer/printing_context.h"
#include "report/printer/qt_printer.h"
#include "report/printer/recording_printer.h"

#include <QPrinterInfo>

#include <gtest/gtest.h>

#include <set>

namespace pemvora::report {
namespace {

TEST(PaperTable, HoldsTheSixtySevenRowsAsDisplayed)
{
    const auto table = paperTable();
    ASSERT_EQ(table.size(), 67u);
    EXPECT_EQ(table.front().name, "Letter, 8 1/2 x 11\"");
    EXPECT_EQ(table.back().id, kCustomPaper);
    EXPECT_EQ(table.back().name, "Custom");
    std::set<int> ids;
    for (const PaperInfo& p : table) ids.insert(p.id);
    EXPECT_EQ(ids.size(), 67u);
    EXPECT_EQ(ids.count(48) + ids.count(49), 0u);
    struct Row {
        int id;
        std::string_view name;
        int width, height;
    };
    for (const Row& r : {Row{9, "A4 210 x 297 mm", 2100, 2970}, Row{20, "#10 Envelope, 4 1/8  x 9 1/2\"", 1048, 2413},
                         Row{29, "C3 Envelope,  324 x 458 mm", 3240, 4580}, Row{35, "B6 Envelope,  176 x 125 mm", 1760, 1250},
                         Row{68, "A3 Extra Transverse 322 x 445 mm", 3220, 4450}}) {
        const PaperInfo* p = findPaper(r.id);
        ASSERT_NE(p, nullptr) << r.id;
        EXPECT_EQ(p->name, r.name);
        EXPECT_EQ(p->width, r.width);
        EXPECT_EQ(p->height, r.height);
    }
    EXPECT_EQ(roundEven(2.5), 2);
    EXPECT_EQ(roundEven(3.5), 4);
    EXPECT_EQ(roundEven(-2.5), -2);
    EXPECT_EQ(tenthsToDesignPixels(50), 18);
}

TEST(VirtualPrinter, IsTheOnlyPrinterWithoutDevices)
{
    PrintingContext ctx(std::make_unique<VirtualPrinterBackend>());
    const TfrPrinter& p = ctx.printer();
    EXPECT_EQ(p.PrinterNames, std::vector<std::string>{"Virtual printer"});
    EXPECT_EQ(p.PrinterIndex, 0);
    EXPECT_EQ(p.VirtualPrinterIndex, 0);
    EXPECT_EQ(p.PaperSize, kUnknownPaper);
    EXPECT_EQ(ctx.defaultPaperSize(), kUnknownPaper);
    EXPECT_EQ(ctx.newPagePaperSize(), kA4);
    EXPECT_EQ(p.PaperCount, 67);
    EXPECT_EQ(p.PaperIndexOf(9), 8);
    EXPECT_EQ(p.PaperIndexOf(1234), 66);
    EXPECT_EQ(p.BinIndexOf(kDefaultBin), 0);
    EXPECT_EQ(p.BinIndexOf(5), 0);
}

TEST(VirtualPrinter, PagesTakeTheTablePaperOrTheirCustomSize)
{
    struct Case {
        int size, width, height, orientation;
        int heldSize, heldWidth, heldHeight;
        TfrPageMetrics metrics;   // design-pixel fields only
    };
    auto designMetrics = [](int pw, int ph, int ox, int oy, int w, int h) {
        TfrPageMetrics m;
        m.PaperWidth = pw, m.PaperHeight = ph, m.OffsetX = ox, m.OffsetY = oy, m.PrintWidth = w, m.PrintHeight = h;
        return m;
    };
    const Case cases[] = {
        {9, 0, 0, 0, 9, 2100, 2970, designMetrics(758, 1071, 18, 18, 722, 1035)},
        {9, 0, 0, 1, 9, 2970, 2100, designMetrics(1071, 758, 18, 18, 1035, 722)},
        {256, 2000, 1000, 0, 256, 2000, 1000, designMetrics(721, 361, 18, 18, 685, 325)},
        {11, 5, 5, 0, 11, 1480, 2100, designMetrics(534, 758, 18, 18, 498, 722)},
    };
    for (const Case& k : cases) {
        PrintingContext ctx(std::make_unique<VirtualPrinterBackend>());
        PagePaper page;
        page.bin = 7;
        ApplyPaper(ctx.printer(), page, k.size, k.width, k.height, k.orientation, kDefaultBin);
        EXPECT_EQ(page.size, k.heldSize) << k.size;
        EXPECT_EQ(page.width, k.heldWidth) << k.size;
        EXPECT_EQ(page.height, k.heldHeight) << k.size;
        EXPECT_EQ(page.orientation, k.orientation);
        EXPECT_EQ(page.bin, kDefaultBin);
        EXPECT_EQ(page.metrics, k.metrics) << k.size;
    }
}

TEST(VirtualPrinter, SameSettingsToleratesOneTenthOnCustomSizes)
{
    PrintingContext ctx(std::make_unique<VirtualPrinterBackend>());
    TfrPrinter& p = ctx.printer();
    p.SetPaper(kCustomPaper, 2000, 1000, 0, kDefaultBin, false);
    struct Case {
        int size, width, height, orientation, bin;
        bool same;
    };
    const Case custom[] = {
        {256, 2000, 1000, 0, -1, true},  {256, 2001, 1000, 0, -1, true},  {256, 1999, 999, 0, -1, true},
        {256, 2002, 1000, 0, -1, false}, {256, 2000, 998, 0, -1, false},  {256, 2000, 1000, 1, -1, false},
        {256, 2000, 1000, 0, 5, true},   {9, 2000, 1000, 0, -1, false},
    };
    for (const Case& k : custom)
        EXPECT_EQ(p.SameSettings(k.size, k.width, k.height, k.orientation, k.bin), k.same)
            << k.size << " " << k.width << "x" << k.height << " o" << k.orientation << " b" << k.bin;

    p.SetPaper(9, 0, 0, 0, 3, false);
    const Case table[] = {
        {9, 1, 1, 0, 3, true}, {9, 0, 0, 0, -1, true}, {9, 0, 0, 0, 0xFFFF, true},
        {9, 0, 0, 0, 4, false}, {9, 0, 0, 1, 3, false}, {11, 0, 0, 0, 3, false},
    };
    for (const Case& k : table)
        EXPECT_EQ(p.SameSettings(k.size, k.width, k.height, k.orientation, k.bin), k.same)
            << k.size << " o" << k.orientation << " b" << k.bin;

    // The unknown paper size makes the next SetPaper apply even for equal values.
    p.PaperWidth = 1;
    p.PaperSize = kUnknownPaper;
    p.SetPaper(9, 0, 0, 0, 3, false);
    EXPECT_EQ(p.PaperWidth, 2100);
}

FakePrinter office()
{
    FakePrinter f;
    f.name = "Office";
    f.dpi = 600;
    f.offsetX = 50;
    f.offsetY = 60;
    f.bins = {{7, "Auto"}, {2, "Lower"}};
    return f;
}

TEST(DevicePrinter, ReadsTheDeviceAndMeasuresInPrinterPixels)
{
    auto backend = std::make_unique<RecordingPrinterBackend>(std::vector<FakePrinter>{office()});
    PrintingContext ctx(std::move(backend));
    TfrPrinter& p = ctx.printer();
    EXPECT_EQ(p.PrinterNames, (std::vector<std::string>{"Office", "Virtual printer"}));
    EXPECT_EQ(p.PrinterIndex, 0);
    EXPECT_EQ(p.VirtualPrinterIndex, 1);
    EXPECT_EQ(p.Device, "Office");
    EXPECT_EQ(ctx.defaultPaperSize(), kA4);
    EXPECT_EQ(p.PaperWidth, 2100);
    EXPECT_EQ(p.PaperHeight, 2970);
    EXPECT_EQ(p.BinNames, (std::vector<std::string>{"Default", "Auto", "Lower"}));
    EXPECT_EQ(p.BinIds, (std::vector<int>{-1, 7, 2}));
    EXPECT_EQ(p.BinIndexOf(2), 2);

    TfrPageMetrics m;
    p.FillPageMetrics(m);
    const TfrPageMetrics expected{4961, 7016, 758, 1071, 50, 60, 8, 9, 4861, 6896, 742, 1053};
    EXPECT_EQ(m, expected);
}

TEST(DevicePrinter, WritesPaperIntoTheSettingsRecord)
{
    auto owned = std::make_unique<RecordingPrinterBackend>(std::vector<FakePrinter>{office()});
    RecordingPrinterBackend& device = *owned;
    PrintingContext ctx(std::move(owned));
    TfrPrinter& p = ctx.printer();

    // A portrait custom page: length 1000, width 2000, as given.
    PagePaper page;
    ApplyPaper(p, page, kCustomPaper, 2000, 1000, 0, kDefaultBin);
    ASSERT_FALSE(device.appliedSettings().empty());
    DeviceSettings s = device.appliedSettings().back();
    EXPECT_TRUE(s.has(DeviceSettings::kPaperLength) && s.has(DeviceSettings::kPaperWidth));
    EXPECT_EQ(s.paperLength, 1000);
    EXPECT_EQ(s.paperWidth, 2000);
    EXPECT_EQ(s.paperSize, kCustomPaper);
    EXPECT_EQ(s.orientation, 1);
    EXPECT_EQ((std::array{page.size, page.width, page.height}), (std::array{256, 2000, 1000}));

    // A landscape custom page keeps its width and height through the device,
    // and applying it again changes nothing.
    ApplyPaper(p, page, kCustomPaper, 2000, 1000, 1, kDefaultBin);
    s = device.appliedSettings().back();
    EXPECT_EQ(s.orientation, 2);
    EXPECT_EQ((std::array{page.size, page.width, page.height, page.orientation}), (std::array{256, 2000, 1000, 1}));
    const std::size_t records = device.appliedSettings().size();
    ApplyPaper(p, page, page.size, page.width, page.height, page.orientation, page.bin);
    EXPECT_EQ(device.appliedSettings().size(), records);
    EXPECT_EQ((std::array{page.width, page.height}), (std::array{2000, 1000}));

    // A table paper clears the custom fields; a bin goes into the record.
    ApplyPaper(p, page, 11, 0, 0, 0, 2);
    s = device.appliedSettings().back();
    EXPECT_FALSE(s.has(DeviceSettings::kPaperLength) || s.has(DeviceSettings::kPaperWidth));
    EXPECT_EQ(s.paperSize, 11);
    EXPECT_EQ(s.defaultSource, 2);
    EXPECT_EQ(page.bin, 2);
    EXPECT_EQ((std::array{page.size, page.width, page.height}), (std::array{11, 1480, 2100}));
    ApplyPaper(p, page, 9, 0, 0, 0, kDefaultBin);
    EXPECT_EQ(device.appliedSettings().back().defaultSource, 2);   // the default source is left alone
    EXPECT_EQ(page.bin, kDefaultBin);
}

TEST(DevicePrinter, RefusedPaperFallsBackToACustomSize)
{
    FakePrinter narrow = office();
    narrow.paperIds = {9, 11, kCustomPaper};
    PrintingContext ctx(std::make_unique<RecordingPrinterBackend>(std::vector<FakePrinter>{narrow}));
    PagePaper page;
    ApplyPaper(ctx.printer(), page, 8, 2970, 4200, 0, 7);
    EXPECT_EQ((std::array{page.size, page.width, page.height, page.bin}), (std::array{256, 2970, 4200, -1}));
    EXPECT_EQ(ctx.printer().PaperCount, 3);
    EXPECT_EQ(ctx.printer().PaperIndexOf(8), 2);
}

TEST(DevicePrinter, UnreadableDeviceQuietlyMeansTheVirtualPrinter)
{
    FakePrinter broken = office();
    broken.readable = false;
    PrintingContext ctx(std::make_unique<RecordingPrinterBackend>(std::vector<FakePrinter>{broken}));
    EXPECT_EQ(ctx.printer().PrinterIndex, 1);
    EXPECT_TRUE(ctx.printer().isVirtual());
    EXPECT_EQ(ctx.defaultPaperSize(), kUnknownPaper);
    PagePaper page;
    ApplyPaper(ctx.printer(), page, 9, 0, 0, 0, kDefaultBin);
    EXPECT_EQ(page.metrics.PaperWidth, 758);
}

TEST(DevicePrinter, PaperStaysWhileTheDevicePrints)
{
    auto owned = std::make_unique<RecordingPrinterBackend>(std::vector<FakePrinter>{office()});
    RecordingPrinterBackend& device = *owned;
    PrintingContext ctx(std::move(owned));
    TfrPrinter& p = ctx.printer();
    ASSERT_TRUE(device.beginJob("cheque", 2, true));
    device.beginPage().textOut(10, 10, "1");
    p.SetPaper(11, 0, 0, 0, kDefaultBin, true);
    EXPECT_EQ(p.PaperSize, kA4);
    device.beginPage();
    device.endJob();
    p.SetPaper(11, 0, 0, 0, kDefaultBin, false);
    EXPECT_EQ(p.PaperSize, 11);
    ASSERT_EQ(device.jobs().size(), 1u);
    const auto& job = device.jobs()[0];
    EXPECT_EQ(job.copies, 2);
    EXPECT_TRUE(job.collate);
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_EQ(job.pages[1].settings.paperSize, kA4);
    EXPECT_EQ(job.pages[0].canvas->texts().at(0).text, "1");
}

FakePrinter named(const char* name, int dpi)
{
    FakePrinter f;
    f.name = name;
    f.dpi = dpi;
    return f;
}

TEST(ReportPrinter, SelectByNameIgnoresCaseAndMissingNames)
{
    PrintingContext ctx(std::make_unique<RecordingPrinterBackend>(
        std::vector<FakePrinter>{named("Office", 600), named("Cheque", 300)}));
    TfrPrinter& p = ctx.printer();
    ReportPrinter report;
    SelectPrinterByName(p, report, "cheque");
    EXPECT_EQ(p.PrinterIndex, 1);
    EXPECT_EQ(p.Device, "Cheque");
    EXPECT_EQ(report.PrinterName, "cheque");
    SelectPrinterByName(p, report, "Not installed");
    EXPECT_EQ(p.PrinterIndex, 1);
    EXPECT_EQ(report.PrinterName, "Not installed");
    SelectPrinterByName(p, report, "VIRTUAL PRINTER");
    EXPECT_TRUE(p.isVirtual());
    report.PrintToDefault = true;
    SelectPrinterByName(p, report, "Office");
    EXPECT_TRUE(p.isVirtual());
    EXPECT_EQ(report.PrinterName, "Office");
}

TEST(ReportPrinter, SwitchReappliesEveryPageOrGoesBack)
{
    FakePrinter picky = named("Picky", 300);
    picky.paperIds = {11};
    picky.customSizes = false;
    PrintingContext ctx(std::make_unique<RecordingPrinterBackend>(
        std::vector<FakePrinter>{named("Office", 600), named("Cheque", 300), picky}));
    TfrPrinter& p = ctx.printer();
    ReportPrinter report;
    PagePaper a4, cheque;
    ApplyPaper(p, a4, 9, 0, 0, 0, kDefaultBin);
    ApplyPaper(p, cheque, kCustomPaper, 1750, 800, 0, kDefaultBin);
    std::vector<PagePaper*> pages{&a4, &cheque};
    std::vector<std::pair<std::string, std::string>> messages;
    auto showError = [&](const std::string& text, const std::string& caption) { messages.emplace_back(text, caption); };

    EXPECT_TRUE(SwitchPrinter(p, report, pages, 0, 1, showError));
    EXPECT_EQ(report.PrinterName, "Cheque");
    EXPECT_EQ(a4.metrics.DevPaperWidth, 2480);   // re-measured at 300 DPI
    EXPECT_EQ((std::array{cheque.size, cheque.width, cheque.height}), (std::array{256, 1750, 800}));
    EXPECT_TRUE(messages.empty());

    // Neither A4 nor a custom size: the switch fails and the old printer returns.
    EXPECT_FALSE(SwitchPrinter(p, report, pages, 1, 2, showError));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], (std::pair<std::string, std::string>{"Printer selected is not valid", "Error"}));
    EXPECT_EQ(p.PrinterIndex, 1);
    EXPECT_EQ(report.PrinterName, "Cheque");
    EXPECT_EQ(a4.size, kA4);
    EXPECT_EQ(a4.metrics.DevPaperWidth, 2480);

    EXPECT_FALSE(SwitchPrinter(p, report, pages, 1, 99, showError));
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(p.PrinterIndex, 1);
}

std::vector<QString>& qtMessages()
{
    static std::vector<QString> messages;
    return messages;
}

TEST(PrintingContext, NoInstalledPrinterQuietlyMeansTheVirtualPrinter)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has printers";
    qtMessages().clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) { qtMessages().push_back(m); });
    resetPrinting(makeSystemPrinterBackend());
    qInstallMessageHandler(previous);
    EXPECT_EQ(printing().printer().PrinterNames, std::vector<std::string>{"Virtual printer"});
    EXPECT_TRUE(printing().printer().isVirtual());
    EXPECT_TRUE(qtMessages().empty()) << qtMessages().front().toStdString();
}

TEST(PrintingContext, ResetStartsAfreshOverAnotherBackend)
{
    resetPrinting(std::make_unique<RecordingPrinterBackend>(std::vector<FakePrinter>{named("Office", 600)}));
    EXPECT_EQ(printing().printer().PrinterNames.size(), 2u);
    printing().printer().SelectPrinter(1);
    resetPrinting(std::make_unique<VirtualPrinterBackend>());
    EXPECT_EQ(printing().printer().PrinterNames, std::vector<std::string>{"Virtual printer"});
    EXPECT_EQ(printing().printer().PaperSize, kUnknownPaper);
}

TEST(PrintingContext, ResetWithoutBackendStartsOverTheProgramsDefault)
{
    setDefaultPrinterBackend(
        [] { return std::make_unique<RecordingPrinterBackend>(std::vector<FakePrinter>{named("Office", 600)}); });
    resetPrinting(nullptr);
    EXPECT_EQ(printing().printer().PrinterNames, (std::vector<std::string>{"Office", "Virtual printer"}));
    setDefaultPrinterBackend(nullptr);
    resetPrinting(nullptr);
    EXPECT_EQ(printing().printer().PrinterNames, std::vector<std::string>{"Virtual printer"});
}

} // namespace
} // namespace pemvora::report
