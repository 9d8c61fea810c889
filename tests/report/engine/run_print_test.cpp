// Printing prepared pages: the page list, copies and collation as sheets
// reach the device, a job per paper, Cancel and a printer that fails, and the
// preview's Print button with and without its dialog.

#include "tests/report/engine/prepared_fixture.h"
#include "tests/report/engine/run_fixture_window.h"
#include "tests/support/recording_ui.h"

#include "report/engine/run_control.h"
#include "report/printer/recording_printer.h"

#include <gtest/gtest.h>

namespace pemvora::report::enginetest {
namespace {

// ---------------------------------------------------------------- page list

struct PageListCase {
    const char* text;
    int pageCount;
    std::vector<int> expected;
};

const PageListCase kPageLists[] = {
    {"", 5, {1, 2, 3, 4, 5}},
    {"1,3,5-12", 15, {1, 3, 5, 6, 7, 8, 9, 10, 11, 12}},
    {"3-", 5, {3, 4, 5}},
    {" 1 , 2 ", 5, {1, 2}},
    {"2,4-5", 5, {2, 4, 5}},
    {"7", 5, {}},
    {"4-9", 5, {4, 5}},
    {"5-3", 5, {}},
    {"3,1,3,2-3", 5, {1, 2, 3}},
    {"0", 5, {}},
    {"1-2000000000", 3, {1, 2, 3}},
    {"", 0, {}},
};

TEST(PageList, SelectsThePagesOfTheList)
{
    for (const PageListCase& c : kPageLists)
        EXPECT_EQ(ParsePageList(c.text, c.pageCount), c.expected) << '"' << c.text << '"';
}

TEST(PageList, RefusesPartsThatAreNoNumbers)
{
    for (const char* garbage : {"x", "1,x", "1,,2", "1,", ",1", "-2", "1-2-3", "a-3", "3-,1", "1.5",
                                "99999999999999999999", "1;2", "+"}) {
        EXPECT_THROW(ParsePageList(garbage, 5), PageListError) << '"' << garbage << '"';
    }
    try {
        ParsePageList("1,zwei", 5);
    } catch (const PageListError& e) {
        EXPECT_NE(std::string(e.what()).find("zwei"), std::string::npos) << e.what();
    }
}

// ---------------------------------------------------------------- printing

FakePrinter office(bool makesCopies = true)
{
    FakePrinter f;
    f.name = "Office";
    f.dpi = 300;
    f.offsetX = 30;
    f.offsetY = 40;
    f.makesCopies = makesCopies;
    return f;
}

constexpr PaperRequest kA4Paper{};
constexpr PaperRequest kA5Paper{11, 1480, 2100, 0, kDefaultBin};

class PrintRun : public PreparedFixture {
protected:
    void SetUp() override
    {
        PreparedFixture::SetUp();
        useDevice(office());
    }
    void useDevice(const FakePrinter& printer)
    {
        auto backend = std::make_unique<RecordingPrinterBackend>(std::vector<FakePrinter>{printer});
        device = backend.get();
        resetPrinting(std::move(backend));
    }
    // Prepared pages "P1", "P2", ... on the given papers.
    void preparePages(std::vector<PaperRequest> papers)
    {
        for (const PaperRequest& paper : papers) {
            templates.push_back(templatePage(paper));
            const int index = pages.Count();
            pages.Add(*templates.back());
            pages.AppendObject(index, *printedText("Memo1", 40, 50, 200, 20, {"P" + std::to_string(index + 1)}));
        }
    }
    // Per job, the page each sheet showed.
    std::vector<std::vector<std::string>> sheets() const
    {
        std::vector<std::vector<std::string>> out;
        for (const auto& job : device->jobs()) {
            out.emplace_back();
            for (const auto& page : job.pages) {
                const auto texts = page.canvas->texts();
                out.back().push_back(texts.empty() ? std::string("(blank)") : texts.front().text);
            }
        }
        return out;
    }

    RecordingPrinterBackend* device = nullptr;
    std::vector<std::unique_ptr<TfrPage>> templates;
    testsupport::ScopedRecordingUi ui;
};

using Sheets = std::vector<std::vector<std::string>>;

struct CopiesCase {
    const char* name;
    bool deviceMakesCopies;
    bool collate;
    Sheets expected;
    int deviceCopies;
};

const CopiesCase kCopies[] = {
    {"CollatedRepeatsTheSequence", true, true, {{"P1", "P2", "P1", "P2"}}, 1},
    {"UncollatedAsksTheDevice", true, false, {{"P1", "P2"}}, 2},
    {"UncollatedOnAFileRepeatsEachPage", false, false, {{"P1", "P1", "P2", "P2"}}, 1},
    {"CollatedOnAFile", false, true, {{"P1", "P2", "P1", "P2"}}, 1},
};

TEST_F(PrintRun, TwoCopiesOfPagesOneAndTwo)
{
    preparePages({kA4Paper, kA4Paper, kA4Paper});
    for (const CopiesCase& c : kCopies) {
        useDevice(office(c.deviceMakesCopies));
        EXPECT_TRUE(PrintPreparedReport(report, "1-2", 2, c.collate)) << c.name;
        EXPECT_EQ(sheets(), c.expected) << c.name;
        ASSERT_EQ(device->jobs().size(), 1u) << c.name;
        EXPECT_EQ(device->jobs()[0].copies, c.deviceCopies) << c.name;
        EXPECT_TRUE(device->jobs()[0].ended) << c.name;
    }
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(PrintRun, EveryChangeOfPaperBeginsANewJob)
{
    preparePages({kA4Paper, kA5Paper, kA4Paper, kA4Paper});
    report.Title = "Cheques";
    ASSERT_TRUE(PrintPreparedReport(report, "", 1, true));
    EXPECT_EQ(sheets(), (Sheets{{"P1"}, {"P2"}, {"P3", "P4"}}));
    const auto& jobs = device->jobs();
    EXPECT_EQ(jobs[1].pages[0].settings.paperSize, 11);
    EXPECT_EQ(jobs[2].pages[0].settings.paperSize, kA4);
    for (const auto& job : jobs) {
        EXPECT_TRUE(job.ended);
        EXPECT_EQ(job.title, "Cheques");
    }
}

TEST_F(PrintRun, AJobStartsOnThePaperOfItsFirstPage)
{
    preparePages({kA4Paper, kA5Paper, kA5Paper});
    ASSERT_TRUE(PrintPreparedReport(report, "2-", 1, true));
    EXPECT_EQ(sheets(), (Sheets{{"P2", "P3"}}));
    EXPECT_EQ(device->jobs()[0].title, "Untitled");
}

TEST_F(PrintRun, PagesAreDrawnFromThePaperEdge)
{
    preparePages({kA4Paper});
    ASSERT_TRUE(PrintPreparedReport(report, "", 1, true));
    // Memo1 lies at design (40, 50); 300 dpi over 93/1.015 design pixels per
    // inch, less the device's unprintable border of 30 x 40.
    const auto texts = device->jobs()[0].pages[0].canvas->texts();
    ASSERT_FALSE(texts.empty());
    const double scale = 300 / kDesignPixelsPerInch;
    EXPECT_NEAR(texts[0].origin.x, 40 * scale - 30 + 2 * scale, 3);
    EXPECT_NEAR(texts[0].origin.y, 50 * scale - 40 + 1 * scale, 3);
}

TEST_F(PrintRun, OddAndEvenPages)
{
    preparePages({kA4Paper, kA4Paper, kA4Paper, kA4Paper, kA4Paper});
    ASSERT_TRUE(PrintPreparedReport(report, "", 1, true, printpages::Odd));
    ASSERT_TRUE(PrintPreparedReport(report, "2-5", 1, true, printpages::Even));
    EXPECT_EQ(sheets(), (Sheets{{"P1", "P3", "P5"}, {"P2", "P4"}}));
}

TEST_F(PrintRun, AListThatSelectsNothingSaysSoAndPrintsNothing)
{
    preparePages({kA4Paper, kA4Paper, kA4Paper});
    EXPECT_FALSE(PrintPreparedReport(report, "7", 1, true));
    EXPECT_FALSE(PrintPreparedReport(report, "1-x", 1, true));
    EXPECT_TRUE(device->jobs().empty());
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_NE(ui.shown[0].text.find("nothing was printed"), std::string::npos) << ui.shown[0].text;
    EXPECT_NE(ui.shown[1].text.find("1-x"), std::string::npos) << ui.shown[1].text;
}

TEST_F(PrintRun, APrinterThatFailsInTheJobIsNamedAndTheJobAborted)
{
    FakePrinter failing = office();
    failing.failAfterPages = 1;
    useDevice(failing);
    preparePages({kA4Paper, kA4Paper, kA4Paper});
    EXPECT_FALSE(PrintPreparedReport(report, "", 1, true));
    ASSERT_EQ(device->jobs().size(), 1u);
    EXPECT_TRUE(device->jobs()[0].aborted);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].caption, "Error");
    EXPECT_NE(ui.shown[0].text.find("\"Office\""), std::string::npos) << ui.shown[0].text;
}

TEST_F(PrintRun, TheVirtualPrinterPrintsNothingAndSaysWhy)
{
    resetPrinting(std::make_unique<VirtualPrinterBackend>());
    preparePages({kA4Paper});
    EXPECT_FALSE(PrintPreparedReport(report, "", 1, true));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(ui.shown[0].text.find("Virtual printer"), std::string::npos) << ui.shown[0].text;
}

TEST_F(PrintRun, CancelAbortsTheJob)
{
    ProgressLog log;
    log.cancelAtEvent = 2;
    installScriptedProgress(log);
    report.Title = "Run";
    preparePages({kA4Paper, kA4Paper, kA4Paper, kA4Paper});
    EXPECT_FALSE(PrintPreparedReport(report, "", 1, true));
    ASSERT_EQ(device->jobs().size(), 1u);
    EXPECT_TRUE(device->jobs()[0].aborted);
    EXPECT_EQ(device->jobs()[0].pages.size(), 2u);
    EXPECT_EQ(log.captions, std::vector<std::string>{"Preparing report - Run"});
    EXPECT_EQ(log.labels, (std::vector<std::string>{"Printing page:", "Printing page:  1", "Printing page:  2"}));
    EXPECT_TRUE(ui.shown.empty());
}

// A print dialog that answers from a script and may pick another printer.
class ScriptedPrintDialog : public PrintDialog {
public:
    std::optional<PrintChoice> answer;
    int selectPrinter = -1;
    int runs = 0;
    std::optional<PrintChoice> Run(TfrReport&, int) override
    {
        ++runs;
        if (selectPrinter >= 0) printing().printer().SelectPrinter(selectPrinter);
        return answer;
    }
};

TEST_F(PrintRun, PrintButtonWithoutDialogUsesTheReportsDefaults)
{
    preparePages({kA4Paper, kA4Paper});
    report.ShowPrintDialog = false;
    report.DefaultCopies = 2;
    report.DefaultCollate = false;
    ScriptedPrintDialog dialog;
    ASSERT_TRUE(PrintFromPreview(report, 1, dialog));
    EXPECT_EQ(dialog.runs, 0);
    EXPECT_EQ(sheets(), (Sheets{{"P1", "P2"}}));
    EXPECT_EQ(device->jobs()[0].copies, 2);
}

TEST_F(PrintRun, PrintButtonTakesTheDialogsChoiceAndACancelPrintsNothing)
{
    preparePages({kA4Paper, kA4Paper, kA4Paper});
    ScriptedPrintDialog dialog;
    EXPECT_FALSE(PrintFromPreview(report, 1, dialog));
    EXPECT_TRUE(device->jobs().empty());
    dialog.answer = PrintChoice{"2-3", 2, true, printpages::All};
    ASSERT_TRUE(PrintFromPreview(report, 1, dialog));
    EXPECT_EQ(sheets(), (Sheets{{"P2", "P3", "P2", "P3"}}));
}

} // namespace
} // namespace pemvora::report::enginetest
