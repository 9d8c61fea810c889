// Where the band engine puts bands: title, summary, page header and footer
// with their flags, page breaks, stretched bands, columns of bands and of
// pages, print to the previous page and the objects outside every band. The
// band area runs from y = 10 to y = 210; every band here is 20 pixels high
// unless a case says otherwise, and every text sits at its band's top.

#include "tests/report/engine/run_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

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

TEST_F(BandLayout, ABreakableBandContinuesItsTextWhereThePageCutIt)
{
    setBandArea(*page, kTop, 1110);
    labelled(PageHeader, 0, "Header");   // from the second page on
    band(ReportTitle, 30, 20, "ReportTitle1").Flags = flag::Stretched | flag::Breaked;
    StringList lines;
    std::string all;
    for (int n = 1; n <= 200; ++n) {
        lines.push_back(std::to_string(n));
        all += (n > 1 ? "|" : "") + std::to_string(n);
    }
    text("Body", 20, 30, lines).Flags = flag::Stretched;
    labelled(ReportSummary, 60, "End");
    run();
    ASSERT_EQ(pageCount(), 3);

    // The parts, read in page order, hold every line once and in order.
    std::string joined;
    int bodyBottom = 0;
    for (int i = 0; i < 3; ++i) {
        const std::vector<Printed> objects = printed(i);
        const auto body = std::find_if(objects.begin(), objects.end(), [](const Printed& p) { return p.name == "Body"; });
        ASSERT_NE(body, objects.end()) << "page " << i + 1;
        EXPECT_EQ(body->top, i == 0 ? 10 : 30) << "page " << i + 1;   // below the header after the first page
        EXPECT_GT(body->text.size(), 0u);
        joined += (joined.empty() ? "" : "|") + body->text;
        EXPECT_EQ(objects.front().text == "Header", i > 0) << "page " << i + 1;
        if (i == 2) {
            const auto records = ReadPreparedObjects(PreparedPages(report).Page(i).Stream.data());
            for (const auto& r : records)
                if (r->Name == "Body") bodyBottom = r->Top + r->Height;
        }
    }
    EXPECT_EQ(joined, all);
    // The band's next content starts below the last part.
    EXPECT_EQ(layout(2).back(), "End@" + std::to_string(bodyBottom));
    const Pages once = run();
    EXPECT_EQ(run(true), once);
}

TEST_F(BandLayout, ACutTextShowsItsPartsAndAStretchedOneReachesTheBandsLastPart)
{
    band(ReportTitle, 0, 400, "ReportTitle1").Flags = flag::Breaked;
    StringList lines;
    for (int n = 1; n <= 22; ++n) lines.push_back("p" + std::to_string(n));
    text("Plain", 20, 0, lines).Height = 340;
    lines.resize(19);
    for (std::string& line : lines) line[0] = 'g';
    TfrMemoView& grown = text("Grown", 200, 0, lines);
    grown.Height = 300;
    grown.Flags = flag::Stretched;
    labelled(ReportSummary, 420, "End");
    run();
    ASSERT_EQ(pageCount(), 2);
    const auto records = [&](int pageIndex) {
        std::map<std::string, std::pair<int, int>> out;   // name: top, height
        for (const auto& r : ReadPreparedObjects(PreparedPages(report).Page(pageIndex).Stream.data()))
            out[r->Name] = {r->Top, r->Height};
        return out;
    };
    // Where the page ends (200 pixels from the band's top, less 2) both are cut.
    auto first = records(0);
    EXPECT_EQ(first["Plain"], std::make_pair(10, 199));
    EXPECT_EQ(first["Grown"], std::make_pair(10, 199));
    // On the next page the plain text is as high as its rest; the stretched
    // one reaches down as far, and the summary follows.
    auto second = records(1);
    const auto [plainTop, plainHeight] = second["Plain"];
    EXPECT_EQ(plainTop, 10);
    EXPECT_GT(plainHeight, 340 - 198);
    EXPECT_LT(plainHeight, 340 - 198 + 15);
    EXPECT_EQ(second["Grown"], std::make_pair(10, plainHeight));
    EXPECT_EQ(second["Memo420"].first, 10 + plainHeight);

    // Every line once, in order, over the two pages.
    const auto linesOf = [&](const std::string& name) {
        std::string joined;
        for (int i = 0; i < 2; ++i)
            for (const Printed& p : printed(i))
                if (p.name == name) joined += (joined.empty() ? "" : "|") + p.text;
        return joined;
    };
    std::string plain, grownLines;
    for (int n = 1; n <= 22; ++n) plain += (n > 1 ? "|p" : "p") + std::to_string(n);
    for (int n = 1; n <= 19; ++n) grownLines += (n > 1 ? "|g" : "g") + std::to_string(n);
    EXPECT_EQ(linesOf("Plain"), plain);
    EXPECT_EQ(linesOf("Grown"), grownLines);
}

TEST_F(BandLayout, ABandTallerThanTheRoomBelowThePageHeaderIsPrintedSplit)
{
    labelled(PageHeader, 0, "Header", flag::OnFirstPage).Height = 50;
    TfrBandView& rows = band(MasterData, 60, 160, "MasterData1");   // 150 pixels are left below the header
    rows.SetProperty("DataSource", "2");
    text("Row", 20, 60, {"R[LINE#]"});
    text("Low", 20, 160, {"Low"});
    // Each row ends with its last object, so the second no longer fits on the first page.
    EXPECT_EQ(run(), (Pages{{"Header@10", "R1@60", "Low@160"}, {"Header@10", "R2@60", "Low@160"}}));
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

TEST_F(BandLayout, ChildBandsFollowTheirBandAndShowBandPrintsABandByName)
{
    TfrBandView& title = labelled(ReportTitle, 0, "Title");
    title.ChildBand = "Child30";
    title.ScriptLines = {"ShowBand(Child120)"};
    labelled(Child, 30, "Child");
    // An invisible band's child prints only with PrintChildIfInvisible.
    TfrBandView& summary = labelled(ReportSummary, 60, "Summary", flag::PrintChildIfInvisible);
    summary.Visible = false;
    summary.ChildBand = "Child90";
    labelled(Child, 90, "Second child");
    labelled(Child, 120, "Shown");
    EXPECT_EQ(run(), (Pages{{"Shown@10", "Title@30", "Child@50", "Second child@70"}}));
}

struct CrossCase {
    const char* name;
    std::uint16_t headerFlags;
    std::vector<std::string> secondPage;
};

// Two rows with five cross columns of 100 pixels from x = 200 on a page whose
// band area ends at x = 520: three columns fit, the rest continue on a second
// page at the rows' heights, after the cross header when it repeats.
const CrossCase kCross[] = {
    {"HeaderNotRepeated", 0, {"C4@30,10", "C5@130,10", "C4@30,30", "C5@130,30"}},
    {"HeaderRepeated", flag::RepeatHeader,
     {"Head@30,10", "C4@130,10", "C5@230,10", "Head@30,30", "C4@130,30", "C5@230,30"}},
};

class CrossColumns : public BandLayout, public ::testing::WithParamInterface<CrossCase> {};

TEST_P(CrossColumns, WrapOntoTheNextPageAtTheRowsHeight)
{
    master(0, "2", "R[LINE#]");
    TfrBandView& header = band(CrossHeader, 0, 0, "CrossHeader1");
    header.PlaceAt(100, 0, 100, 400);
    header.Flags = GetParam().headerFlags;
    TfrBandView& columns = band(CrossData, 0, 0, "CrossData1");
    columns.PlaceAt(200, 0, 100, 400);
    columns.SetProperty("DataSource", "5");
    text("Head", 110, 0, {"Head"}).Width = 80;
    text("Cell", 210, 0, {"C[COLUMN#]"}).Width = 80;
    run();
    const auto places = [&](int pageIndex) {
        std::vector<std::string> out;
        for (const Printed& p : printed(pageIndex))
            out.push_back(p.text + "@" + std::to_string(p.left) + "," + std::to_string(p.top));
        return out;
    };
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(places(0), (std::vector<std::string>{"R1@20,10", "Head@110,10", "C1@210,10", "C2@310,10", "C3@410,10",
                                                   "R2@20,30", "Head@110,30", "C1@210,30", "C2@310,30", "C3@410,30"}));
    EXPECT_EQ(places(1), GetParam().secondPage);
    const Pages once = run();
    EXPECT_EQ(run(true), once);
}

INSTANTIATE_TEST_SUITE_P(Cases, CrossColumns, ::testing::ValuesIn(kCross),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BandLayout, ACrossFooterTotalsTheColumnsOfItsRow)
{
    master(0, "2", "R[LINE#]");
    TfrBandView& columns = band(CrossData, 0, 0, "CrossData1");
    columns.PlaceAt(150, 0, 50, 400);
    columns.SetProperty("DataSource", "3");
    TfrBandView& footer = band(CrossFooter, 0, 0, "CrossFooter1");
    footer.PlaceAt(300, 0, 100, 400);
    text("Cell", 150, 0, {"[COLUMN#]0"}).Width = 50;
    text("Total", 300, 0, {"=[SUM([COLUMN#] * 10 + [LINE#])]"}).Width = 100;
    // Row 1: 11 + 21 + 31; row 2: 12 + 22 + 32. The footer follows the last column.
    EXPECT_EQ(run(), (Pages{{"R1@10", "10@10", "20@10", "30@10", "=63@10", "R2@30", "10@30", "20@30", "30@30",
                             "=66@30"}}));
}

TEST_F(BandLayout, SubReportsSideBySideGoOnTogetherOverPages)
{
    band(ReportTitle, 0, 20, "ReportTitle1");
    const auto subReport = [&](const char* name, int left, const char* rows, const char* text) {
        auto& sub = page->Add<TfrSubReportView>();
        sub.Name = name;
        sub.PlaceAt(left, 0, 200, 20);
        TfrPage& body = report.Pages[report.Pages.Add()];
        sub.SubPageIndex = report.Pages.Count() - 1;
        band(MasterData, 0, 20, std::string("Rows") + name, &body).SetProperty("DataSource", rows);
        this->text(std::string("Text") + name, 20, 0, {text}, &body);
    };
    subReport("Long", 20, "25", "A[LINE#]");    // ten rows a page: three pages
    subReport("Short", 270, "3", "B[LINE#]");
    labelled(ReportSummary, 60, "End");
    run();
    const auto places = [&](int pageIndex) {
        std::vector<std::string> out;
        for (const Printed& p : printed(pageIndex))
            out.push_back(p.text + "@" + std::to_string(p.left) + "," + std::to_string(p.top));
        return out;
    };
    const auto rows = [](const char* prefix, int from, int to, int left) {
        std::vector<std::string> out;
        for (int n = from; n <= to; ++n)
            out.push_back(prefix + std::to_string(n) + "@" + std::to_string(left) + "," + std::to_string(10 + 20 * ((n - 1) % 10)));
        return out;
    };
    ASSERT_EQ(pageCount(), 3);
    std::vector<std::string> first = rows("A", 1, 10, 40);
    for (const std::string& b : rows("B", 1, 3, 290)) first.push_back(b);
    EXPECT_EQ(places(0), first);
    EXPECT_EQ(places(1), rows("A", 11, 20, 40));
    // The summary starts below the end of the longer one.
    std::vector<std::string> last = rows("A", 21, 25, 40);
    last.push_back("End@20,110");
    EXPECT_EQ(places(2), last);

    // The first pass of two counts the same pages; the second prints the same.
    const Pages once = run();
    EXPECT_EQ(run(true), once);
}

TEST_F(BandLayout, ASubReportInsideASubReportGoesOnWithIt)
{
    band(ReportTitle, 0, 20, "ReportTitle1");
    auto& outer = page->Add<TfrSubReportView>();
    outer.Name = "Outer";
    outer.PlaceAt(20, 0, 400, 20);
    outer.SubPageIndex = 1;
    TfrPage& middle = report.Pages[report.Pages.Add()];
    band(MasterData, 0, 20, "Middle", &middle).SetProperty("DataSource", "2");
    text("M", 20, 0, {"M[LINE#]"}, &middle);
    auto& inner = middle.Add<TfrSubReportView>();
    inner.Name = "Inner";
    inner.PlaceAt(200, 0, 100, 20);
    inner.SubPageIndex = 2;
    TfrPage& innermost = report.Pages[report.Pages.Add()];
    band(MasterData, 0, 20, "Innermost", &innermost).SetProperty("DataSource", "12");
    text("I", 20, 0, {"I[LINE#]"}, &innermost);
    labelled(ReportSummary, 60, "End");
    run();
    const auto places = [&](int pageIndex) {
        std::vector<std::string> out;
        for (const Printed& p : printed(pageIndex))
            out.push_back(p.text + "@" + std::to_string(p.left) + "," + std::to_string(p.top));
        return out;
    };
    // Inner rows from `from` to `to`, the first at `top`.
    const auto innerRows = [](std::vector<std::string>& out, int from, int to, int top) {
        for (int n = from; n <= to; ++n) out.push_back("I" + std::to_string(n) + "@240," + std::to_string(top + 20 * (n - from)));
    };
    ASSERT_EQ(pageCount(), 3);
    std::vector<std::string> first{"M1@40,10"};
    innerRows(first, 1, 10, 10);
    std::vector<std::string> second;
    innerRows(second, 11, 12, 10);
    second.push_back("M2@40,50");   // below the end of the first row's inner rows
    innerRows(second, 1, 8, 50);
    std::vector<std::string> third;
    innerRows(third, 9, 12, 10);
    third.push_back("End@20,90");
    EXPECT_EQ(places(0), first);
    EXPECT_EQ(places(1), second);
    EXPECT_EQ(places(2), third);
    const Pages once = run();
    EXPECT_EQ(run(true), once);
}

TEST_F(BandLayout, ABandScriptStartsANewPage)
{
    TfrBandView& rows = master(0, "3", "R[LINE#]");
    rows.ScriptLines = {"begin", "  if [LINE#] = 2 then NewPage", "end"};
    EXPECT_EQ(run(), (Pages{{"R1@10"}, {"R2@10", "R3@30"}}));
}

} // namespace
} // namespace pemvora::report::enginetest
