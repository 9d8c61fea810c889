// Where the band engine puts bands: title, summary, page header and footer
// with their flags, page breaks, stretched bands, columns of bands and of
// pages, print to the previous page and the objects outside every band. The
// band area runs from y = 10 to y = 210; every band here is 20 pixels high
// unless a case says otherwise, and every text sits at its band's top.

#include "tests/report/engine/run_fixture.h"

#include <gtest/gtest.h>

namespace pemvora::report::enginetest {
namespace {

using Pages = std::vector<std::vector<std::string>>;
using namespace bandkind;

class BandLayout : public RunFixture {
protected:
    // A band of `kind` at design top `top` whose text object shows `text`.
    TfrBandView& labelled(int kind, int top, const std::string& text, std::uint16_t flags = 0)
    {
        TfrBandView& b = band(kind, top, 20, displayName(kind).data() + std::to_string(top));
        b.Flags = flags;
        this->text("Memo" + std::to_string(top), 20, top, {text});
        return b;
    }
    TfrBandView& master(int top, const std::string& rows, const std::string& text = "[LINE#]")
    {
        TfrBandView& b = labelled(MasterData, top, text);
        b.Name = "MasterData1";
        b.SetProperty("DataSource", rows);
        return b;
    }
    Pages run(bool twoPass = false)
    {
        report.TwoPass = twoPass;
        const PrepareResult result = prepare();
        EXPECT_FALSE(result.Failed) << result.ErrorText;
        Pages out;
        for (int i = 0; i < pageCount(); ++i) out.push_back(layout(i));
        return out;
    }
};

struct FurnitureCase {
    const char* name;
    std::uint16_t headerFlags, footerFlags;
    bool withTitle;
    Pages expected;
};

// Title, page header and page footer around 20 rows: the footer takes 20 of
// the 200 pixels, so a page holds 9 rows, 8 below a header, 7 below title and header.
const FurnitureCase kFurniture[] = {
    {"HeaderAndFooterOnEveryPage", flag::OnFirstPage, flag::OnFirstPage | flag::OnLastPage, true,
     {{"Title@10", "Header@30", "1@50", "2@70", "3@90", "4@110", "5@130", "6@150", "7@170", "Footer@190"},
      {"Header@10", "8@30", "9@50", "10@70", "11@90", "12@110", "13@130", "14@150", "15@170", "Footer@190"},
      {"Header@10", "16@30", "17@50", "18@70", "19@90", "20@110", "Footer@190"}}},
    // Without OnFirstPage the header is missing on the first page only; a
    // footer with neither flag is missing on the first and the last.
    {"NeitherFlag", 0, 0, true,
     {{"Title@10", "1@30", "2@50", "3@70", "4@90", "5@110", "6@130", "7@150", "8@170"},
      {"Header@10", "9@30", "10@50", "11@70", "12@90", "13@110", "14@130", "15@150", "16@170", "Footer@190"},
      {"Header@10", "17@30", "18@50", "19@70", "20@90"}}},
    {"FooterOnLastPageOnly", 0, flag::OnLastPage, false,
     {{"1@10", "2@30", "3@50", "4@70", "5@90", "6@110", "7@130", "8@150", "9@170"},
      {"Header@10", "10@30", "11@50", "12@70", "13@90", "14@110", "15@130", "16@150", "17@170", "Footer@190"},
      {"Header@10", "18@30", "19@50", "20@70", "Footer@190"}}},
};

class Furniture : public BandLayout, public ::testing::WithParamInterface<FurnitureCase> {};

TEST_P(Furniture, PlacesHeadersFootersAndRows)
{
    const FurnitureCase& c = GetParam();
    if (c.withTitle) labelled(ReportTitle, 0, "Title");
    labelled(PageHeader, 30, "Header", c.headerFlags);
    master(60, "20");
    labelled(PageFooter, 90, "Footer", c.footerFlags);
    EXPECT_EQ(run(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Furniture, ::testing::ValuesIn(kFurniture),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BandLayout, APageWithoutDataBandsPrintsEverythingOnce)
{
    labelled(PageFooter, 120, "Footer", flag::OnLastPage);
    labelled(ReportSummary, 90, "Summary");
    labelled(ColumnHeader, 60, "Columns");
    labelled(PageHeader, 30, "Header", flag::OnFirstPage);
    labelled(ReportTitle, 0, "Title");
    labelled(Overlay, 150, "Overlay");
    // The title comes before the page header; overlay and page footer keep their places.
    EXPECT_EQ(run(), (Pages{{"Overlay@150", "Title@10", "Header@30", "Columns@50", "Summary@70", "Footer@190"}}));
}

TEST_F(BandLayout, ObjectsOutsideBandsPrintWhereTheyAreOnTheFirstPageOnly)
{
    master(0, "12");
    text("Free", 300, 100, {"free"});
    const Pages pages = run();
    ASSERT_EQ(pages.size(), 2u);
    const std::vector<Printed> first = printed(0);
    ASSERT_EQ(first.front().name, "Free");
    EXPECT_EQ(first.front().left, 300);
    EXPECT_EQ(first.front().top, 100);
    for (const Printed& p : printed(1)) EXPECT_NE(p.name, "Free");
}

TEST_F(BandLayout, PageNumbersAndTheTotalInTwoPasses)
{
    master(0, "20");
    labelled(PageFooter, 30, "[PAGE#]/[TOTALPAGES]", flag::OnFirstPage | flag::OnLastPage);
    const auto footers = [](const Pages& pages) {
        std::vector<std::string> out;
        for (const auto& p : pages) out.push_back(p.back());
        return out;
    };
    EXPECT_EQ(footers(run(true)), (std::vector<std::string>{"1/3@190", "2/3@190", "3/3@190"}));
    EXPECT_EQ(footers(run(false)), (std::vector<std::string>{"1/0@190", "2/0@190", "3/0@190"}));
}

TEST_F(BandLayout, AStretchedBandPushesTheNextBandAndBreaksToANewPage)
{
    TfrBandView& body = band(MasterData, 0, 40, "MasterData1");
    body.Flags = flag::Stretched;
    body.SetProperty("DataSource", "2");
    text("Body", 20, 5, {"1", "2", "3", "4", "5", "6", "7", "8"});   // needs 8 * 15 + 2 = 122
    TfrMemoView& side = text("Side", 200, 5, {"side"});
    side.Flags = flag::Stretched;
    labelled(MasterFooter, 60, "End");

    EXPECT_EQ(run(), (Pages{{"1|2|3|4|5|6|7|8@15", "side@15"}, {"1|2|3|4|5|6|7|8@15", "side@15", "End@137"}}));
    // The stretched object reaches down to the band's height for the print ...
    auto objects = ReadPreparedObjects(PreparedPages(report).Page(0).Stream.data());
    EXPECT_EQ(objects[1]->Height, 5 + 122 - 5);
    // ... and the template keeps its own.
    EXPECT_EQ(side.Height, 17);
    EXPECT_EQ(side.Top, 5);
}

TEST_F(BandLayout, AMultiColumnBandPrintsRecordsSideBySide)
{
    TfrBandView& rows = master(0, "4", "R[LINE#]");
    rows.Columns = 3;
    rows.ColumnWidth = 60;
    rows.ColumnGap = 10;
    labelled(MasterFooter, 30, "End");
    run();
    std::vector<std::string> places;
    for (const Printed& p : printed(0)) places.push_back(p.text + "@" + std::to_string(p.left) + "," + std::to_string(p.top));
    EXPECT_EQ(places, (std::vector<std::string>{"R1@20,10", "R2@90,10", "R3@160,10", "R4@20,30", "End@20,50"}));
}

TEST_F(BandLayout, PageColumnsFillFromTopToBottomThenLeftToRight)
{
    page->Columns = 2;
    page->ColumnGap = 20;   // columns of (500 - 20) / 2 = 240
    master(0, "23", "R[LINE#]");
    run();
    const auto places = [&](int pageIndex) {
        std::vector<std::string> out;
        for (const Printed& p : printed(pageIndex)) out.push_back(std::to_string(p.left) + "," + std::to_string(p.top));
        return out;
    };
    ASSERT_EQ(pageCount(), 2);
    const std::vector<std::string> first = places(0);
    ASSERT_EQ(first.size(), 20u);
    EXPECT_EQ(first[0], "20,10");
    EXPECT_EQ(first[9], "20,190");
    EXPECT_EQ(first[10], "280,10");
    EXPECT_EQ(first[19], "280,190");
    EXPECT_EQ(places(1), (std::vector<std::string>{"20,10", "20,30", "20,50"}));
}

TEST_F(BandLayout, APageContinuesOnThePreviousPageUnlessThatOneIsFull)
{
    master(0, "3", "A[LINE#]");
    TfrPage& second = report.Pages[report.Pages.Add()];
    setBandArea(second, kTop, kBottom);
    second.PrintToPrevPage = true;
    band(ReportTitle, 0, 20, "Title2", &second);
    text("T2", 20, 0, {"Second"}, &second);
    TfrBandView& rows = band(MasterData, 30, 20, "MasterData2", &second);
    rows.SetProperty("DataSource", "2");
    text("R2", 20, 30, {"B[LINE#]"}, &second);
    EXPECT_EQ(run(), (Pages{{"A1@10", "A2@30", "A3@50", "Second@70", "B1@90", "B2@110"}}));

    // Ten rows fill the first page to its bottom: the second starts a page.
    page->FindObject("MasterData1")->SetProperty("DataSource", "10");
    EXPECT_EQ(run(), (Pages{{"A1@10", "A2@30", "A3@50", "A4@70", "A5@90", "A6@110", "A7@130", "A8@150", "A9@170",
                             "A10@190"},
                            {"Second@10", "B1@30", "B2@50"}}));
}

TEST_F(BandLayout, ABandScriptStartsANewPage)
{
    TfrBandView& rows = master(0, "3", "R[LINE#]");
    rows.ScriptLines = {"begin", "  if [LINE#] = 2 then NewPage", "end"};
    EXPECT_EQ(run(), (Pages{{"R1@10"}, {"R2@10", "R3@30"}}));
}

} // namespace
} // namespace pemvora::report::enginetest
