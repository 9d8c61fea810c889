// How a run ends when it cannot go on: an error while an object prints or a
// script runs (the error text names the report, the object and its lines),
// STOPREPORT, and the guards against runs that would never end: a band area
// without room, a band that never fits, a data source that never ends.

#include "tests/report/engine/run_fixture.h"

#include <gtest/gtest.h>

#include <chrono>

namespace pemvora::report::enginetest {
namespace {

using namespace bandkind;

class BandErrors : public RunFixture {
protected:
    TfrBandView& rows(const std::string& source, int height = 20)
    {
        TfrBandView& b = band(MasterData, 0, height, "MasterData1");
        b.SetProperty("DataSource", source);
        return b;
    }
    // A source whose end never comes.
    TfrUserDataset& endless()
    {
        TfrUserDataset& d = userData("Endless");
        d.OnCheckEOF = [](TfrDataset&, bool& eof) { eof = false; };
        return d;
    }
};

TEST_F(BandErrors, AnErrorWhileAnObjectPrintsNamesTheReportTheObjectAndItsLines)
{
    rows("3");
    text("Amount", 20, 0, {"Amount:", "[1 + ]"});
    const PrepareResult result = prepare();
    ASSERT_TRUE(result.Failed);
    EXPECT_FALSE(result.Completed);
    const std::string expectedStart =
        "An error occured during calculating\rAmount:\r[1 + ]\r\rReport: frReport1\rObject: Amount\r\r";
    ASSERT_EQ(result.ErrorText.substr(0, expectedStart.size()), expectedStart);
    EXPECT_GT(result.ErrorText.size(), expectedStart.size());   // the evaluator's own message follows
    EXPECT_EQ(engine().ErrorText, result.ErrorText);
    EXPECT_EQ(pageCount(), 0);   // the pages of a failed run are discarded
    EXPECT_TRUE(report.Terminated);
}

TEST_F(BandErrors, AnErrorInABandScriptNamesTheBand)
{
    rows("3").ScriptLines = {"x := [Nope]"};
    const PrepareResult result = prepare();
    ASSERT_TRUE(result.Failed);
    EXPECT_NE(result.ErrorText.find("\rReport: frReport1\rObject: MasterData1\r\r"), std::string::npos)
        << result.ErrorText;
}

TEST_F(BandErrors, AScriptThatNeverEndsStopsAtTheStepLimit)
{
    rows("3");
    text("Memo1", 20, 0, {"x"}).ScriptLines = {"while 1 = 1 do x := 0"};
    engine().ScriptStepLimit = 10'000;
    const PrepareResult result = prepare();
    ASSERT_TRUE(result.Failed);
    EXPECT_NE(result.ErrorText.find("Object: Memo1\r"), std::string::npos) << result.ErrorText;
}

TEST_F(BandErrors, StopReportEndsTheRunAndKeepsItsPages)
{
    rows("30").ScriptLines = {"begin", "  if [LINE#] = 12 then StopReport", "end"};
    text("Memo1", 20, 0, {"[LINE#]"});
    const PrepareResult result = prepare();
    EXPECT_FALSE(result.Failed);
    EXPECT_FALSE(result.Completed);
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(texts()[1].back(), "11");
}

TEST_F(BandErrors, CancelFromTheProgressHookStopsAtTheNextPage)
{
    rows("1000");
    text("Memo1", 20, 0, {"[LINE#]"});
    RunControl control;
    int calls = 0;
    control.Progress = [&](int pageNo) {
        ++calls;
        if (pageNo >= 3) report.Terminated = true;
    };
    const PrepareResult result = prepare(control);
    EXPECT_FALSE(result.Completed);
    EXPECT_LE(pageCount(), 4);
    EXPECT_GT(calls, 0);
}

struct GuardCase {
    const char* name;
    int top, bottom;   // the band area
    int bandHeight;
    int headerHeight;  // 0: no page header
    const char* expected;
};

const GuardCase kGuards[] = {
    {"NoRoomAtAll", 100, 100, 20, 0, "The page \"Page1\" has no room for bands: its band area is 0 pixels high"},
    {"LessThanNoRoom", 150, 100, 20, 0, "The page \"Page1\" has no room for bands: its band area is -50 pixels high"},
    {"PageHeaderTallerThanThePage", 10, 210, 20, 250,
     "The band \"PageHeader1\" (250 pixels high) does not fit on a page: 200 pixels are free below the page's headers"},
    // A band that would need splitting: the page header leaves 150 of 200 pixels.
    {"BandTallerThanTheRoomBelowTheHeader", 10, 210, 160, 50,
     "The band \"MasterData1\" (160 pixels high) does not fit into the 150 pixels left on the page; printing a band "
     "over several pages is not supported yet"},
};

class Guards : public BandErrors, public ::testing::WithParamInterface<GuardCase> {};

TEST_P(Guards, ABandThatCanNeverFitEndsTheRunAtOnce)
{
    const GuardCase& c = GetParam();
    setBandArea(*page, c.top, c.bottom);
    rows("5", c.bandHeight);
    if (c.headerHeight > 0) band(PageHeader, 300, c.headerHeight, "PageHeader1").Flags = flag::OnFirstPage;
    const PrepareResult result = prepare();
    ASSERT_TRUE(result.Failed);
    const std::string message = result.ErrorText.substr(result.ErrorText.rfind('\r') + 1);
    EXPECT_EQ(message, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Guards, ::testing::ValuesIn(kGuards),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BandErrors, ANeverEndingSourceStopsAtThePageLimit)
{
    endless();
    rows("Endless");
    text("Memo1", 20, 0, {"[LINE#]"});
    RunControl control;
    control.PageLimit = 50;
    const PrepareResult result = prepare(control);
    ASSERT_TRUE(result.Failed);
    EXPECT_NE(result.ErrorText.find("The report has reached 50 pages and was stopped"), std::string::npos)
        << result.ErrorText;
}

TEST_F(BandErrors, ANeverEndingSourceOfBandsWithoutHeightStopsAtTheRecordLimit)
{
    endless();
    rows("Endless", 0);
    RunControl control;
    control.RecordLimit = 20'000;
    const PrepareResult result = prepare(control);
    ASSERT_TRUE(result.Failed);
    EXPECT_NE(result.ErrorText.find("The data of band \"MasterData1\" went on for more than 20000 records"),
              std::string::npos)
        << result.ErrorText;
}

TEST_F(BandErrors, TheTemplateGetsItsObjectsBackAfterARun)
{
    TfrBandView& b = band(MasterData, 40, 20, "MasterData1");
    b.SetProperty("DataSource", "3");
    b.Flags = flag::Stretched;
    TfrMemoView& memo = text("Memo1", 20, 45, {"[1 + ]"});
    memo.Flags = flag::Stretched;
    ASSERT_TRUE(prepare().Failed);   // while the stretched band is measured
    EXPECT_EQ(memo.Top, 45);
    EXPECT_EQ(memo.Height, 17);
    EXPECT_EQ(memo.RuntimeBand, nullptr);
    EXPECT_FALSE(memo.PreparedMode);
    EXPECT_EQ(b.RuntimeBand, nullptr);
    EXPECT_EQ(engine().Run, nullptr);
}

} // namespace
} // namespace pemvora::report::enginetest
