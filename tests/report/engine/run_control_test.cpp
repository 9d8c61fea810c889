// Preparing under the progress window (labels, Cancel, errors, the template
// put back), the presenters of the preview and the designer, and exporting
// through a filter into a file that is replaced only by a whole export.

#include "tests/report/engine/run_fixture.h"
#include "tests/report/engine/run_fixture_window.h"
#include "tests/support/recording_ui.h"

#include "report/engine/run_control.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace pemvora::report::enginetest {
namespace {

using namespace bandkind;

// A list: page header "H<page>", 20-pixel rows "R<line>", page footer
// "F<page>"; the band area 10..210 holds 8 rows between header and footer.
class RunControlTest : public RunFixture {
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        band(PageHeader, 0, 20, "PageHeader1").Flags = flag::OnFirstPage;
        text("Header", 20, 0, {"H[PAGE#]"});
        band(PageFooter, 300, 20, "PageFooter1").Flags = flag::OnFirstPage | flag::OnLastPage;
        text("Footer", 20, 300, {"F[PAGE#]"});
    }
    void rows(int count)
    {
        TfrBandView& b = band(MasterData, 100, 20, "MasterData1");
        b.SetProperty("DataSource", std::to_string(count));
        text("Row", 20, 100, {"R[LINE#]"});
    }

    ProgressLog log;
    testsupport::ScopedRecordingUi ui;
};

TEST_F(RunControlTest, ASinglePassRunCountsItsPagesInTheWindow)
{
    rows(20);
    installScriptedProgress(log);
    report.Title = "List";
    ASSERT_TRUE(PrepareReport(report));
    EXPECT_EQ(pageCount(), 3);
    EXPECT_EQ(log.shown, 1);
    EXPECT_EQ(log.captions, std::vector<std::string>{"Preparing report - List"});
    ASSERT_FALSE(log.labels.empty());
    EXPECT_EQ(log.labels.front(), "Processing page:  1");
    EXPECT_EQ(log.labels.back(), "Processing page:  3");
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(RunControlTest, ATwoPassRunShowsBothPassesInOneWindow)
{
    rows(20);
    report.TwoPass = true;
    installScriptedProgress(log);
    ASSERT_TRUE(PrepareReport(report));
    EXPECT_EQ(log.shown, 1);
    EXPECT_EQ(log.captions, std::vector<std::string>{"Preparing report"});
    ASSERT_FALSE(log.labels.empty());
    EXPECT_EQ(log.labels.front(), "Performing 1st pass:  1");
    EXPECT_NE(std::find(log.labels.begin(), log.labels.end(), "Performing 1st pass:  2"), log.labels.end());
    EXPECT_EQ(log.labels.back(), "Processing page:  3 from 3");
}

TEST_F(RunControlTest, NoWindowWithoutShowProgressOrWithAnOnProgressHandler)
{
    rows(20);
    installScriptedProgress(log);
    report.ShowProgress = false;
    ASSERT_TRUE(PrepareReport(report));
    std::vector<int> heard;
    report.ShowProgress = true;
    report.OnProgress = [&](int n) { heard.push_back(n); };
    ASSERT_TRUE(PrepareReport(report));
    EXPECT_EQ(log.shown, 0);
    EXPECT_FALSE(heard.empty());
    EXPECT_EQ(heard.back(), 3);
}

TEST_F(RunControlTest, CancelKeepsOnlyTheFinishedPages)
{
    rows(40);
    // Pages of the whole run: 5, each with its header and footer.
    installScriptedProgress(log);
    ASSERT_TRUE(PrepareReport(report));
    ASSERT_EQ(pageCount(), 5);
    const int events = log.events;
    ASSERT_GT(events, 5);
    // The later Cancel comes, the more pages are kept; never a half page.
    std::vector<int> kept;
    for (int cancelAt = 1; cancelAt <= events; ++cancelAt) {
        log = {};
        log.cancelAtEvent = cancelAt;
        installScriptedProgress(log);
        EXPECT_FALSE(PrepareReport(report)) << cancelAt;
        kept.push_back(pageCount());
        for (int i = 0; i < pageCount(); ++i) {
            const auto t = texts()[std::size_t(i)];
            ASSERT_FALSE(t.empty());
            const std::string n = std::to_string(i + 1);
            EXPECT_EQ(t.front(), "H" + n) << "cancel at " << cancelAt;
            EXPECT_EQ(t.back(), "F" + n) << "cancel at " << cancelAt << ": a page without its footer";
        }
    }
    EXPECT_EQ(kept.front(), 0);
    EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
    EXPECT_LT(kept[2], 5);
}

TEST_F(RunControlTest, CancelInTheFirstOfTwoPassesLeavesNoPages)
{
    rows(40);
    report.TwoPass = true;
    log.cancelAtEvent = 2;
    installScriptedProgress(log);
    EXPECT_FALSE(PrepareReport(report));
    EXPECT_EQ(pageCount(), 0);
}

TEST_F(RunControlTest, AnErrorIsShownAndLeavesNoPages)
{
    rows(20);
    text("Broken", 200, 100, {"[1 / 0 +]"});
    EXPECT_TRUE(PrepareReport(report));
    EXPECT_EQ(pageCount(), 0);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].caption, "Error");
    EXPECT_EQ(ui.shown[0].icon, ui::Icon::Error);
    EXPECT_NE(ui.shown[0].text.find("Broken"), std::string::npos) << ui.shown[0].text;
    EXPECT_EQ(ui.shown[0].text.find('\r'), std::string::npos);
}

TEST_F(RunControlTest, WhatAScriptChangedIsGoneAfterTheRun)
{
    rows(3);
    TfrMemoView& header = dynamic_cast<TfrMemoView&>(*report.FindObject("Header"));
    header.ScriptLines = {"Footer.Memo := 'changed'; Footer.Left := 77;"};
    ASSERT_TRUE(PrepareReport(report));
    EXPECT_EQ(texts()[0].back(), "changed");
    TfrView* footer = report.FindObject("Footer");
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->Memo, StringList{"F[PAGE#]"});
    EXPECT_EQ(footer->Left, 20);
    EXPECT_EQ(report.TemplateFileName, "/reports/list.frf");
}

TEST_F(RunControlTest, ShowReportHandsThePagesToThePreview)
{
    rows(3);
    report.Title = "Cheque";
    EXPECT_THROW(ShowReport(report), NoPresenterError);

    std::vector<std::string> shown;
    engine().Presenters.Preview = [&](TfrReport& r, const std::string& caption) {
        EXPECT_EQ(&r, &report);
        shown.push_back(caption + " " + std::to_string(PreparedPages(r).Count()));
    };
    ShowReport(report);
    EXPECT_EQ(shown, std::vector<std::string>{"Preview - Cheque 1"});

    // Nothing to show: the preview is not opened.
    PreparedPages(report).Clear();
    ShowPreparedReport(report);
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(RunControlTest, DesignReportWithoutADesignerIsCancel)
{
    TfrReport empty;
    EXPECT_EQ(DesignReport(empty), kModalCancel);
    EXPECT_EQ(empty.Pages.Count(), 1);
    int opened = 0;
    engine().Presenters.Designer = [&](TfrReport& r) {
        ++opened;
        EXPECT_EQ(&r, &report);
        return kModalOk;
    };
    EXPECT_EQ(DesignReport(report), kModalOk);
    EXPECT_EQ(opened, 1);
}

// ---------------------------------------------------------------- export

// Logs every call; writes one line per call into the stream.
class LoggingFilter : public TfrExportFilter {
public:
    std::vector<std::string> calls;
    int confirm = kModalOk;
    int failOnPage = -1;

    std::string Extension() const override { return ".log"; }
    std::string Description() const override { return "Call log"; }
    int ConfirmExport() override
    {
        log("confirm");
        return confirm;
    }
    void StartExport() override { log("start"); }
    void FinishExport() override { log("finish"); }
    void StartExportPage(const ExportPageInfo& page) override
    {
        if (page.Index == failOnPage) throw std::runtime_error("the disk is full");
        log("page " + std::to_string(page.Index));
    }
    void FinishExportPage() override { log("end page"); }
    void ExportObject(int x, int y, TfrView& object) override
    {
        log("object " + object.Name + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void ExportTextLine(const Rect&, int, int, const std::string& text, std::uint16_t frameLines,
                        TfrView&) override
    {
        log("line " + text + " " + std::to_string(frameLines));
    }

private:
    void log(const std::string& call)
    {
        calls.push_back(call);
        if (Stream) Stream->write((call + "\n").c_str());
    }
};

class ExportTest : public RunControlTest {
protected:
    void SetUp() override
    {
        RunControlTest::SetUp();
        rows(3);
        ASSERT_TRUE(PrepareReport(report));
        ASSERT_EQ(pageCount(), 1);
        target = dir.path().toStdString() + "/out.log";
    }
    std::string read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void writeOld() { std::ofstream(target) << "old"; }
    bool onlyTargetInDir() { return QDir(dir.path()).entryList(QDir::Files) == QStringList{"out.log"}; }

    QTemporaryDir dir;
    std::string target;
    LoggingFilter filter;
};

TEST_F(ExportTest, EveryObjectAndLineGoesToTheFilterInOrder)
{
    std::vector<std::string> events;
    filter.OnBeforeExport = [&](std::string& name, bool& go) {
        events.push_back("before " + name);
        EXPECT_TRUE(go);
    };
    filter.OnAfterExport = [&](const std::string& name) { events.push_back("after " + name); };
    ASSERT_TRUE(ExportPreparedPages(report, filter, target));
    EXPECT_EQ(events, (std::vector<std::string>{"before " + target, "after " + target}));
    const std::vector<std::string> expected = {
        "confirm", "start", "page 0",
        "object Header 20,10", "line H1 0",
        "object Row 20,30", "line R1 0", "object Row 20,50", "line R2 0", "object Row 20,70", "line R3 0",
        "object Footer 20,190", "line F1 0",
        "end page", "finish"};
    EXPECT_EQ(filter.calls, expected);
    std::string written;
    for (std::size_t i = 1; i < expected.size(); ++i) written += expected[i] + "\n";
    EXPECT_EQ(read(target), written);
    EXPECT_EQ(report.ActiveExportFilter, nullptr);
    EXPECT_EQ(filter.Stream, nullptr);
    EXPECT_TRUE(onlyTargetInDir());
}

TEST_F(ExportTest, TheBeforeHandlerMayRenameTheFile)
{
    const std::string renamed = dir.path().toStdString() + "/renamed.log";
    filter.OnBeforeExport = [&](std::string& name, bool&) { name = renamed; };
    std::string after;
    filter.OnAfterExport = [&](const std::string& name) { after = name; };
    ASSERT_TRUE(ExportPreparedPages(report, filter, target));
    EXPECT_EQ(after, renamed);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(renamed)));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(target)));
}

TEST_F(ExportTest, ARefusalWritesNothing)
{
    writeOld();
    bool afterCalled = false;
    filter.OnAfterExport = [&](const std::string&) { afterCalled = true; };

    filter.OnBeforeExport = [](std::string&, bool& go) { go = false; };
    EXPECT_FALSE(ExportPreparedPages(report, filter, target));
    EXPECT_TRUE(filter.calls.empty());

    filter.OnBeforeExport = nullptr;
    filter.confirm = kModalCancel;
    EXPECT_FALSE(ExportPreparedPages(report, filter, target));
    EXPECT_EQ(filter.calls, std::vector<std::string>{"confirm"});

    EXPECT_FALSE(afterCalled);
    EXPECT_EQ(read(target), "old");
    EXPECT_TRUE(onlyTargetInDir());
    EXPECT_EQ(report.ActiveExportFilter, nullptr);
}

TEST_F(ExportTest, AFailedExportLeavesTheOldFile)
{
    writeOld();
    filter.failOnPage = 0;
    bool afterCalled = false;
    filter.OnAfterExport = [&](const std::string&) { afterCalled = true; };
    EXPECT_THROW(ExportPreparedPages(report, filter, target), std::runtime_error);
    EXPECT_FALSE(afterCalled);
    EXPECT_EQ(read(target), "old");
    EXPECT_TRUE(onlyTargetInDir());
    EXPECT_EQ(report.ActiveExportFilter, nullptr);
}

TEST_F(ExportTest, CancelInTheProgressWindowLeavesTheOldFile)
{
    writeOld();
    log.cancelAtEvent = 1;
    installScriptedProgress(log);
    EXPECT_FALSE(ExportPreparedPages(report, filter, target));
    EXPECT_EQ(read(target), "old");
    EXPECT_EQ(log.labels, (std::vector<std::string>{"Processing page:  1", "Processing page:  1 from 1"}));
}

TEST_F(ExportTest, AFileThatCannotBeWrittenIsAnError)
{
    EXPECT_THROW(ExportPreparedPages(report, filter, dir.path().toStdString() + "/missing/out.log"), ExportError);
    EXPECT_EQ(report.ActiveExportFilter, nullptr);
}

TEST_F(ExportTest, ATextOfSeveralLinesSharesItsFrame)
{
    TfrPage pageTemplate(PaperRequest{});
    TfrEMFPages& pages = PreparedPages(report);
    pages.Clear();
    pages.Add(pageTemplate);
    TfrMemoView framed;
    framed.Name = "Framed";
    framed.PlaceAt(10, 10, 200, 60);
    framed.FrameTyp = frame::All;
    framed.WorkLines = {"one", "two", "three"};
    pages.AppendObject(0, framed);
    ASSERT_TRUE(ExportPreparedPages(report, filter, target));
    const auto first = std::find(filter.calls.begin(), filter.calls.end(), "object Framed 10,10");
    ASSERT_NE(first, filter.calls.end());
    // Right, bottom, left, top = 1, 2, 4, 8.
    EXPECT_EQ(std::vector<std::string>(first + 1, first + 4),
              (std::vector<std::string>{"line one 13", "line two 5", "line three 7"}));
}

} // namespace
} // namespace pemvora::report::enginetest
