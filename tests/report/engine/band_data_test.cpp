// The data loops of the band engine: master, detail and subdetail levels with
// their headers and footers (and the rows that disappear when their details
// are empty), groups that break on a changed condition, and the aggregates
// the footers show, reset per group and per page.

#include "tests/report/engine/run_fixture.h"

#include <gtest/gtest.h>

#include <map>

namespace pemvora::report::enginetest {
namespace {

using Texts = std::vector<std::string>;
using namespace bandkind;

class BandData : public RunFixture {
protected:
    // A 20-pixel band at design top `top`, with one text object at its top.
    TfrBandView& row(int kind, int top, const std::string& name, const std::string& text)
    {
        TfrBandView& b = band(kind, top, 20, name);
        this->text(name + "Text", 20, top, {text});
        return b;
    }
    // Every printed text of every page, in order.
    Texts all()
    {
        Texts out;
        for (const auto& page : texts()) out.insert(out.end(), page.begin(), page.end());
        return out;
    }
    Texts run()
    {
        const PrepareResult result = prepare();
        EXPECT_FALSE(result.Failed) << result.ErrorText;
        return all();
    }
    // A source of `count` records by events; the variable `name` holds the
    // 1-based record while it is current.
    TfrUserDataset& counted(const std::string& name, std::function<int()> count)
    {
        TfrUserDataset& d = userData(name);
        d.RangeEnd = reCount;
        d.OnFirst = [name, count](TfrDataset& s) {
            s.RangeEndCount = count();
            engine().Variables.SetVariable(name, Value(1));
        };
        d.OnNext = [name](TfrDataset& s) { engine().Variables.SetVariable(name, Value(s.RecNo + 1)); };
        return d;
    }
};

struct DetailCase {
    const char* name;
    std::vector<int> detailCounts;   // per master record
    bool printIfSubsetEmpty;
    Texts expected;
};

const DetailCase kDetails[] = {
    {"EmptyDetailDropsItsMaster", {2, 0, 1}, false,
     {"MH", "M1", "DH", "D1.1", "D1.2", "DF", "M3", "DH", "D3.1", "DF", "MF"}},
    {"PrintIfSubsetEmptyKeepsIt", {2, 0, 1}, true,
     {"MH", "M1", "DH", "D1.1", "D1.2", "DF", "M2", "M3", "DH", "D3.1", "DF", "MF"}},
    // No master row prints: neither does the master header or footer.
    {"NoDetailAtAll", {0, 0, 0}, false, {}},
};

class Details : public BandData, public ::testing::WithParamInterface<DetailCase> {};

TEST_P(Details, MasterRowsPrintWithTheirDetails)
{
    const DetailCase& c = GetParam();
    TfrUserDataset& masterData = counted("m", [] { return 3; });
    counted("d", [&] { return c.detailCounts.at(static_cast<std::size_t>(masterData.RecNo)); });
    row(MasterHeader, 0, "MasterHeader1", "MH");
    TfrBandView& master = row(MasterData, 30, "MasterData1", "M[m]");
    master.SetProperty("DataSource", "m");
    if (c.printIfSubsetEmpty) master.Flags |= flag::PrintIfSubsetEmpty;
    row(DetailHeader, 60, "DetailHeader1", "DH");
    row(DetailData, 90, "DetailData1", "D[m].[LINE#]").SetProperty("DataSource", "d");
    row(DetailFooter, 120, "DetailFooter1", "DF");
    row(MasterFooter, 150, "MasterFooter1", "MF");
    EXPECT_EQ(run(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Details, ::testing::ValuesIn(kDetails),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BandData, SubdetailRowsDecideWhichDetailAndMasterRowsPrint)
{
    const std::map<std::pair<int, int>, int> subdetails{{{1, 1}, 1}, {{1, 2}, 0}, {{2, 1}, 0}, {{2, 2}, 2}};
    TfrUserDataset& m = counted("m", [] { return 2; });
    TfrUserDataset& d = counted("d", [] { return 2; });
    counted("s", [&] { return subdetails.at({m.RecNo + 1, d.RecNo + 1}); });
    row(MasterData, 0, "MasterData1", "M[m]").SetProperty("DataSource", "m");
    row(DetailData, 30, "DetailData1", "D[m].[d]").SetProperty("DataSource", "d");
    row(SubdetailData, 60, "SubdetailData1", "S[m].[d].[LINE#]").SetProperty("DataSource", "s");
    EXPECT_EQ(run(), (Texts{"M1", "D1.1", "S1.1.1", "M2", "D2.2", "S2.2.1", "S2.2.2"}));
}

TEST_F(BandData, AGroupBreaksWhenItsConditionChangesAndSumsItsRows)
{
    data("Data", {{"g"}, {"v", FieldKind::Integer}},
         {{"A", 1}, {"A", 2}, {"B", 3}, {"C", 4}, {"C", 5}});
    row(GroupHeader, 0, "GroupHeader1", "G[Data.g]").SetProperty("Condition", "[Data.g]");
    row(MasterData, 30, "MasterData1", "R[Data.v].[LINE#]").SetProperty("DataSource", "Data");
    row(GroupFooter, 60, "GroupFooter1", "F[Data.g] [SUM([Data.v])]");
    EXPECT_EQ(run(), (Texts{"GA", "R1.1", "R2.2", "FA 3", "GB", "R3.1", "FB 3", "GC", "R4.1", "R5.2", "FC 9"}));
}

TEST_F(BandData, NestedGroupsCloseFromTheInsideOut)
{
    data("Data", {{"a"}, {"b"}}, {{"1", "x"}, {"1", "x"}, {"1", "y"}, {"2", "y"}});
    row(GroupHeader, 0, "Outer", "H1:[Data.a]").SetProperty("Condition", "[Data.a]");
    row(GroupHeader, 30, "Inner", "H2:[Data.b]").SetProperty("Condition", "[Data.b]");
    row(MasterData, 60, "MasterData1", "R[LINE#]").SetProperty("DataSource", "Data");
    row(GroupFooter, 90, "InnerFooter", "F2:[Data.b]");
    row(GroupFooter, 120, "OuterFooter", "F1:[Data.a]");
    // A change of only the inner value closes and opens the inner group; a
    // change of the outer one closes both and opens both.
    EXPECT_EQ(run(), (Texts{"H1:1", "H2:x", "R1", "R2", "F2:x", "H2:y", "R1", "F2:y", "F1:1", "H1:2", "H2:y", "R1",
                            "F2:y", "F1:2"}));
}

struct AggregateCase {
    const char* name;
    std::vector<Value> values;
    int showingKind;
    std::string shown;
    std::string expected;
};

const AggregateCase kAggregates[] = {
    {"SumAverageCountInTheMasterFooter", {1, 2, 3}, MasterFooter,
     "[SUM([Data.v])] [AVG([Data.v])] [COUNT(MasterData1)]", "6 2 3"},
    {"MinAndMaxStartFromTheFirstValue", {-5, -3}, MasterFooter, "[MIN([Data.v])] [MAX([Data.v])]", "-5 -3"},
    // Over no records the master footer does not print; the summary shows
    // MIN and MAX as nothing, SUM and COUNT as 0.
    {"NoRecords", {}, ReportSummary, "<[MIN([Data.v])]> <[MAX([Data.v])]> [SUM([Data.v])] [COUNT(MasterData1)]",
     "<> <> 0 0"},
};

class Aggregates : public BandData, public ::testing::WithParamInterface<AggregateCase> {};

TEST_P(Aggregates, FootersShowWhatTheirDataBandAccumulated)
{
    const AggregateCase& c = GetParam();
    std::vector<std::vector<Value>> rows;
    for (const Value& v : c.values) rows.push_back({v});
    data("Data", {{"v", FieldKind::Integer}}, rows);
    row(MasterData, 0, "MasterData1", "[Data.v]").SetProperty("DataSource", "Data");
    row(c.showingKind, 30, "Shows", c.shown);
    Texts expected;
    for (const Value& v : c.values) expected.push_back(v.toText());
    expected.push_back(c.expected);
    EXPECT_EQ(run(), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Aggregates, ::testing::ValuesIn(kAggregates),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BandData, APageFooterSumsTheRowsOfItsPage)
{
    std::vector<std::vector<Value>> rows;
    for (int v = 1; v <= 20; ++v) rows.push_back({v});
    data("Data", {{"v", FieldKind::Integer}}, rows);
    row(MasterData, 0, "MasterData1", "[Data.v]").SetProperty("DataSource", "Data");
    band(PageFooter, 30, 20, "PageFooter1").Flags = flag::OnFirstPage | flag::OnLastPage;
    text("Total", 20, 30, {"page [PAGE#]: [SUM([Data.v])]"});
    run();
    // Nine rows a page: 1..9, 10..18, 19..20.
    std::vector<std::string> footers;
    for (const auto& page : texts()) footers.push_back(page.back());
    EXPECT_EQ(footers, (std::vector<std::string>{"page 1: 45", "page 2: 126", "page 3: 39"}));
}

TEST_F(BandData, AScriptThatChangesAnObjectShowsOnThePreparedPage)
{
    data("Data", {{"v", FieldKind::Integer}}, {{1}, {2}, {3}});
    TfrBandView& rows = row(MasterData, 0, "MasterData1", "[Data.v]");
    rows.SetProperty("DataSource", "Data");
    rows.ScriptLines = {"begin", "  MasterData1Text.Visible := [Data.v] <> 2;",
                        "  if [Data.v] = 3 then MasterData1Text.FrameTyp := 15", "end"};
    ASSERT_EQ(run(), (Texts{"1", "3"}));
    const auto objects = ReadPreparedObjects(PreparedPages(report).Page(0).Stream.data());
    EXPECT_EQ(objects[0]->FrameTyp, 0);
    EXPECT_EQ(objects[1]->FrameTyp, 15);
}

} // namespace
} // namespace pemvora::report::enginetest
