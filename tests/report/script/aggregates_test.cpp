// Aggregate functions through their two phases: registration in the collection
// pass and reading while the showing band prints, with records accumulated
// and reset in between. The bands here stand in for the band engine's: they
// only carry the run-time band fields; every step the engine takes is one
// call of the aggregate functions under test.

#include "platform/text/gbk.h"
#include "report/model/band_runtime.h"
#include "report/model/memo.h"
#include "report/model/report.h"
#include "report/script/aggregates.h"
#include "report/script/names.h"
#include "report/script/scriptrun.h"

#include <gtest/gtest.h>

namespace pemvora::report {
namespace {

class Band : public TfrBandRuntime {
public:
    Band(int kind, std::string name)
    {
        Typ = kind;
        Name = std::move(name);
    }
    void OpenDataSource(const std::string&) override {}
    bool Eof() override { return true; }
    void First() override {}
    void Next() override {}
    void Prior() override {}
    bool HasDataSource() const override { return false; }
};

// The cross column the run is in; nothing else of a run is asked.
class ColumnOnly : public RunNames {
public:
    int LineNo() override { return 0; }
    int LineThroughNo() override { return 0; }
    int ColumnNo() override { return column; }
    int CurrentRecordNo() override { return 0; }
    int CurY() override { return 0; }
    int BandAreaBottom() override { return 0; }
    int RightEdge() override { return 0; }
    void SetCurY(int) override {}
    void SetModalResult(int) override {}
    void ShowProgress(const std::string&) override {}
    int TextWidth(TfrView&) override { return 0; }
    TfrDataset* DefaultDataSource() override { return nullptr; }
    int column = 1;
};

class AggregatesTest : public ::testing::Test {
protected:
    AggregatesTest()
    {
        resetEngine();
        engine().CurrentReport = &report;
        page = &report.Pages.Items(report.Pages.Add());
    }
    ~AggregatesTest() override { resetEngine(); }

    // A text object of the footer showing `text`.
    TfrMemoView& footerText(const std::string& text)
    {
        auto& memo = page->Add<TfrMemoView>();
        memo.Name = "Memo" + std::to_string(page->ObjectCount());
        memo.Memo = {text};
        memo.DisplayFormat = 0;
        footerObjects.push_back(&memo);
        return memo;
    }
    void collect(Band& data, Band& showing) { CollectAggregates(report, data, showing, nullptr, footerObjects); }
    void records(Band& data, std::initializer_list<Value> values)
    {
        for (const Value& v : values) {
            engine().Variables.SetVariable("v", v);
            AccumulateAggregates(report, data);
        }
    }
    // What the object shows when `showing` prints.
    std::string shown(Band& showing, TfrMemoView& memo)
    {
        engine().CurrentBand = &showing;
        engine().CurrentView = &memo;
        return ExpandLine(report, memo.Memo[0]);
    }

    TfrReport report;
    TfrPage* page = nullptr;
    std::vector<TfrView*> footerObjects;
    Band data{bandkind::MasterData, "MasterData1"};
    Band footer{bandkind::MasterFooter, "MasterFooter1"};
};

TEST_F(AggregatesTest, MasterFooterOverOneTwoThree)
{
    auto& sum = footerText("[SUM(v)]");
    auto& avg = footerText("Avg [AVG(v)]");
    auto& count = footerText("[COUNT(MasterData1)]");
    auto& min = footerText("[MIN(v)]");
    auto& max = footerText("[MAX(v)]");
    collect(data, footer);
    EXPECT_EQ(footer.AggregateBand, &data);
    EXPECT_EQ(data.Values.Count(), 5);
    EXPECT_FALSE(engine().CollectingAggregates);

    records(data, {Value(1), Value(2), Value(3)});
    EXPECT_EQ(shown(footer, sum), "6");
    EXPECT_EQ(shown(footer, avg), "Avg 2");
    EXPECT_EQ(shown(footer, count), "3");
    EXPECT_EQ(shown(footer, min), "1");
    EXPECT_EQ(shown(footer, max), "3");

    // After the footer the next group starts again; MIN and MAX start from their first value.
    ResetAggregates(footer);
    EXPECT_EQ(data.AggregateCount, 0);
    records(data, {Value(-5), Value(-3)});
    EXPECT_EQ(shown(footer, sum), "-8");
    EXPECT_EQ(shown(footer, count), "2");
    EXPECT_EQ(shown(footer, max), "-3");
    EXPECT_EQ(shown(footer, min), "-5");

    // Over no records: MIN and MAX have no value and show nothing, AVG 0.
    ResetAggregates(footer);
    EXPECT_EQ(shown(footer, min), "");
    EXPECT_EQ(shown(footer, max), "");
    EXPECT_EQ(shown(footer, sum), "0");
    EXPECT_EQ(shown(footer, avg), "Avg 0");
    EXPECT_EQ(shown(footer, count), "0");
}

TEST_F(AggregatesTest, WhichDataBandACallRegistersIn)
{
    auto& noName = footerText("[SUM(v)]");
    auto& named = footerText("[SUM(v, MasterData1)]");
    footerText("[SUM(v, DetailData1)]");
    Band detail{bandkind::DetailData, "DetailData1"};
    Band detailFooter{bandkind::DetailFooter, "DetailFooter1"};

    collect(detail, footer);          // a master footer without a band name sums master data only
    EXPECT_EQ(detail.Values.Count(), 1);   // ...but its call naming DetailData1 registers there
    collect(data, footer);
    EXPECT_EQ(data.Values.Count(), 1);     // with and without the band name: one entry

    records(data, {Value(4), Value(5)});
    EXPECT_EQ(shown(footer, noName), "9");
    EXPECT_EQ(shown(footer, named), "9");
    // Key, code, expression, flag: the band name is not part of it.
    EXPECT_EQ(detail.Values.NameAt(0), std::string("MasterFooter1\1\x0b\1v\1\1", 19));

    // A band that no collection pass linked shows "0".
    EXPECT_EQ(shown(detailFooter, noName), "0");

    // A page footer sums master data too, under its own entries.
    Band pageFooter{bandkind::PageFooter, "PageFooter1"};
    collect(data, pageFooter);
    records(data, {Value(10)});
    EXPECT_EQ(shown(pageFooter, noName), "10");
    EXPECT_EQ(shown(footer, noName), "19");
    ResetAggregates(pageFooter);        // a new page: only the page footer's entries start again
    EXPECT_EQ(shown(pageFooter, noName), "0");
    EXPECT_EQ(shown(footer, noName), "19");
}

TEST_F(AggregatesTest, InvisibleRowsCountOnlyWithTheFlag)
{
    auto& visibleOnly = footerText("[SUM(v)]");
    auto& all = footerText("[SUM(v, MasterData1, 1)]");
    auto& counted = footerText("[COUNT(MasterData1, 1)]");
    collect(data, footer);
    records(data, {Value(1), Value(2)});
    data.Visible = false;
    records(data, {Value(10)});
    EXPECT_EQ(shown(footer, visibleOnly), "3");
    EXPECT_EQ(shown(footer, all), "13");
    EXPECT_EQ(shown(footer, counted), "3");
}

TEST_F(AggregatesTest, CallsInScriptsDictionaryVariablesAndTextValues)
{
    report.Dictionary.VarList.SetVariable(" Totals", Value(""));
    report.Dictionary.VarList.SetVariable("Total", Value("SUM(v) + 0"));
    auto& viaVariable = footerText("[Total]");
    auto& scripted = footerText("[t]");
    scripted.ScriptLines = {"t := MAX(v * 10)"};
    collect(data, footer);
    EXPECT_EQ(data.Values.Count(), 2);

    records(data, {Value("2"), Value::null(), Value(5)});   // a text as a number, Null as 0
    EXPECT_EQ(shown(footer, viaVariable), "7");
    ReportScripts scripts(report);
    scripts.RunScript(scripted);
    EXPECT_EQ(shown(footer, scripted), "50");
}

TEST_F(AggregatesTest, CrossColumnsKeepAnEntryPerColumn)
{
    ColumnOnly run;
    engine().Run = &run;
    auto& cell = footerText("[SUM(v)]");
    footer.HasCrossObjects = true;
    data.HasCrossObjects = true;
    Band cross{bandkind::CrossData, "CrossData1"};
    collect(data, footer);

    for (int column : {1, 2}) {
        run.column = column;
        records(data, {Value(column * 100)});
    }
    run.column = 1;
    records(data, {Value(1)});
    // A cross cell prints with the cross data band current and the footer as its row band.
    cross.AggregateBand = &footer;
    run.column = 1;
    EXPECT_EQ(shown(cross, cell), "101");
    run.column = 2;
    EXPECT_EQ(shown(cross, cell), "200");
    engine().Run = nullptr;
}

} // namespace
} // namespace pemvora::report
