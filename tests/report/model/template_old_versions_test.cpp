// Hand-built streams of the older versions and of the cases a writer of this
// system never produces: generated names, WordWrap for version 21, the older
// page layout, dialog fields, class-name mappings, unknown classes, skipped
// records, refused versions.

#include "tests/report/model/template_old_sample.h"
#include "tests/report/model/template_support.h"

#include "report/model/memo.h"
#include "report/model/objects.h"

#include <gtest/gtest.h>

namespace pemvora::report::test {
namespace {

class OlderTemplates : public ::testing::Test {
protected:
    void SetUp() override { resetAll(); }
    RecordingUi ui;
};

TEST_F(OlderTemplates, Version22And21ReadWithGeneratedNamesAndTheOlderLayouts)
{
    for (int version : {22, 21}) {
        SCOPED_TRACE(version);
        TfrReport report;
        report.LoadFromBytes(oldTemplate(version), TemplateOrigin::Memory);
        ASSERT_TRUE(ui.shown.empty()) << ui.shown[0].text;
        EXPECT_FALSE(report.LoadFailed);
        EXPECT_EQ(report.LoadedVersion, version);
        EXPECT_TRUE(report.TwoPass);
        EXPECT_EQ(report.Printer.PrinterName, "Virtual printer");
        ASSERT_EQ(report.Pages.Count(), 1);
        const TfrPage& page = report.Pages.Items(0);
        EXPECT_EQ(page.Name, "Page1");
        EXPECT_EQ(page.Paper.bin, -1);
        EXPECT_EQ(page.Paper.orientation, 1);
        EXPECT_EQ(std::tie(page.Margins.Left, page.Margins.Bottom), std::make_tuple(10, 40));
        EXPECT_TRUE(page.PrintToPrevPage);
        EXPECT_FALSE(page.MarginsInUse);
        EXPECT_EQ(std::tie(page.Columns, page.ColumnGap), std::make_tuple(2, 15));
        EXPECT_EQ(page.Type, pagetype::Report);
        EXPECT_EQ(page.Caption, "Form");

        ASSERT_EQ(page.ObjectCount(), 3);
        const auto& first = dynamic_cast<const TfrMemoView&>(*page.PageObjects[0]);
        const auto& second = dynamic_cast<const TfrMemoView&>(*page.PageObjects[1]);
        EXPECT_EQ(first.Name, "Memo1");
        EXPECT_EQ(second.Name, "Memo2");
        EXPECT_EQ(page.PageObjects[2]->Name, "Band1");
        EXPECT_EQ(first.Memo, (StringList{"[dx]", "\xB4\xF3\xD0\xB4"}));
        EXPECT_TRUE(second.Memo.empty());
        const std::uint16_t wrap = version == 21 ? flag::WordWrap : 0;
        EXPECT_EQ(first.Flags, flag::Stretched | wrap);
        EXPECT_EQ(second.Flags, wrap);
        EXPECT_EQ(page.PageObjects[2]->Flags, flag::OnFirstPage);   // bands are not wrapped
        EXPECT_EQ(first.FrameWidth, 2.0f);
        EXPECT_EQ(first.FrameStyle, 1);
        EXPECT_EQ(first.Font.Name, "Arial");
        EXPECT_EQ(first.Font.Charset, kEngineDefaultCharset);        // stored 134
        EXPECT_EQ(first.Alignment, textalign::Right);
        EXPECT_EQ(first.HighlightCondition, "a > 1");
        EXPECT_EQ(first.LineSpacing, 2);                              // not stored yet
        EXPECT_EQ(first.RecordVersionMajor, 0);
        EXPECT_TRUE(first.Visible);
        EXPECT_EQ(first.GapX, 2);

        // The variables take the values of the entry table; names of the
        // older convention are turned round; the entry table is not kept.
        const TfrVariables& vars = report.Dictionary.VarList;
        ASSERT_EQ(vars.Count(), 4);
        EXPECT_EQ(vars.NameAt(0), " Cheque");
        EXPECT_EQ(vars.NameAt(1), "Sum");
        EXPECT_EQ(vars.ValueAt(1).toText(), "1+2");
        EXPECT_EQ(vars.ValueAt(2).toText(), "Table1.\"Amount\"");
        EXPECT_EQ(vars.ValueAt(3).toText(), "DATE");
        EXPECT_EQ(report.Dictionary.AliasList.Count(), 0);
    }
}

// ---- version 23 to 25 pieces ----

void page25(Bytes& b, bool marker, int type, int border, int position, const StringList& script = {})
{
    b.u8(0xFF);
    if (marker) b.i32(-1);
    b.i32(9).i32(2100).i32(2970).i32(0).i32(0).i32(0).i32(0).u8(0).i32(3).u16(0).u16(0xFFFF).i32(1).i32(0);
    b.u8(type).str("P").u8(border).str("Caption").i32(0x0F).i32(1).i32(2).i32(3).i32(4).u8(position);
    if (marker) b.list(script);
}

void common25(Bytes& b, std::string_view name, int minor = 0)
{
    b.str(name).u8(2).u8(minor);
    b.i32(1).i32(2).i32(3).i32(4).u16(3).u16(0).i32(1).i32(0).u16(0).i32(0x1FFFFFFF);
    b.i32(0).str("").list({"text"}).list({}).u16(0xFFFF).u16(0).str("").i32(2).i32(1).u8(0);
}

void memoPart(Bytes& b, bool spacing)
{
    b.str("Arial").i32(10).u16(0).i32(0).i32(0).u16(1).u16(2).i32(0).i32(0xFFFFFF).str("");
    if (spacing) b.i32(4).i32(1);
}

void memoEntry25(Bytes& b, std::string_view name)
{
    b.u8(kind::Memo).u8(0);
    const std::size_t end = b.reserve();
    common25(b, name);
    memoPart(b, true);
    b.patch(end);
}

std::string withTrailer(Bytes b)
{
    b.u8(0xFC);
    plainTrailer(b);
    return b.s;
}

TEST_F(OlderTemplates, DialogPagesMapTheirStoredBorderAndPosition)
{
    struct Case {
        int storedBorder, border, storedPosition, position;
    } cases[] = {{0, 3, 0, 0}, {1, 2, 1, 4}, {2, 2, 4, 4}, {3, 3, 2, 4}, {5, 5, 0, 0}};
    Bytes b;
    b.u8(25).u16(0).u16(0).str("");
    for (const Case& c : cases) page25(b, true, pagetype::Dialog, c.storedBorder, c.storedPosition, {"x := 1;"});
    TfrReport report;
    report.LoadFromBytes(withTrailer(b), TemplateOrigin::Memory);
    ASSERT_TRUE(ui.shown.empty());
    ASSERT_EQ(report.Pages.Count(), 5);
    for (int i = 0; i < 5; ++i) {
        const TfrPage& p = report.Pages.Items(i);
        EXPECT_EQ(p.Type, pagetype::Dialog);
        EXPECT_EQ(p.BorderStyle, cases[i].border) << i;
        EXPECT_EQ(p.Position, cases[i].position) << i;
        EXPECT_EQ(p.ScriptLines, StringList{"x := 1;"});
        EXPECT_EQ(p.Paper.size, 9);
        EXPECT_EQ(std::tie(p.Left, p.Top, p.Width, p.Height), std::make_tuple(1, 2, 3, 4));
    }
}

TEST_F(OlderTemplates, APageWithoutTheMarkerHasNoScriptList)
{
    Bytes b;
    b.u8(25).u16(0).u16(0).str("");
    page25(b, false, pagetype::Report, 3, 4);
    memoEntry25(b, "Memo1");             // read right after the page: no list was expected
    TfrReport report;
    report.LoadFromBytes(withTrailer(b), TemplateOrigin::Memory);
    ASSERT_TRUE(ui.shown.empty());
    ASSERT_EQ(report.Pages.Count(), 1);
    EXPECT_EQ(report.Pages.Items(0).Paper.size, 9);
    EXPECT_TRUE(report.Pages.Items(0).ScriptLines.empty());
    ASSERT_EQ(report.Pages.Items(0).ObjectCount(), 1);
    EXPECT_EQ(report.Pages.Items(0).PageObjects[0]->Name, "Memo1");
}

TEST_F(OlderTemplates, FramedMemoBecomesATextObjectAndItsEightBytesAreSkipped)
{
    // Version 23: names and scripts, no end positions, so the 8 bytes must be
    // skipped for the next entry to be found.
    auto common23 = [](Bytes& b, std::string_view name) {
        b.str(name).i32(1).i32(2).i32(3).i32(4).u16(1).u16(0).i32(1).i32(0).u16(0).i32(0x1FFFFFFF);
        b.i32(0).str("").list({"framed"}).list({"s"}).u16(0);
    };
    Bytes b;
    b.u8(23).u16(0).u16(0).str("");
    b.u8(0xFF).i32(-1).i32(9).i32(2100).i32(2970).i32(0).i32(0).i32(0).i32(0).u8(0);
    b.u16(0).u16(0xFFFF).i32(1).i32(0);
    b.u8(kind::PlugIn).str("TfrFramedMemoView").u8(0);
    common23(b, "Framed1");
    memoPart(b, false);
    b.raw("12345678");
    b.u8(kind::Line).u8(0);
    common23(b, "Line1");
    TfrReport report;
    report.LoadFromBytes(withTrailer(b), TemplateOrigin::Memory);
    ASSERT_TRUE(ui.shown.empty()) << ui.shown[0].text;
    const TfrPage& page = report.Pages.Items(0);
    EXPECT_EQ(page.Name, "Page1");
    ASSERT_EQ(page.ObjectCount(), 2);
    const auto* memo = dynamic_cast<const TfrMemoView*>(page.PageObjects[0].get());
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->ObjectKind, kind::Memo);
    EXPECT_EQ(memo->Name, "Framed1");
    EXPECT_EQ(memo->Memo, StringList{"framed"});
    EXPECT_FALSE(memo->Visible);
    EXPECT_EQ(memo->Font.Charset, 1);
    EXPECT_EQ(page.PageObjects[1]->Name, "Line1");
    EXPECT_NE(dynamic_cast<const TfrLineView*>(page.PageObjects[1].get()), nullptr);
}

TEST_F(OlderTemplates, UnknownPlugInsAreSkippedAndListedEachTime)
{
    Bytes b;
    b.u8(25).u16(0).u16(0).str("");
    page25(b, true, pagetype::Report, 3, 4);
    auto plugIn = [&](std::string_view className) {
        b.u8(kind::PlugIn).str(className).u8(0);
        const std::size_t end = b.reserve();
        b.raw("whatever the plug-in wrote");
        b.patch(end);
    };
    plugIn("TfrChartView");
    memoEntry25(b, "Memo1");
    plugIn("TfrChartView");
    plugIn("tfrIBXLookupControl");
    TfrReport report;
    report.LoadFromBytes(withTrailer(b), TemplateOrigin::File);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text,
              "Report contains the following non-plugged components:\r"
              "TfrChartView\rTfrChartView\rTfrDBLookupControl\r"
              "You must include these components into your project.");
    EXPECT_EQ(ui.shown[0].caption, "Error");
    EXPECT_EQ(ui.shown[0].icon, ui::Icon::Error);
    // What was read stays; the trailer is not read and nothing is asked.
    ASSERT_EQ(report.Pages.Items(0).ObjectCount(), 1);
    EXPECT_EQ(report.Pages.Items(0).PageObjects[0]->Name, "Memo1");
    EXPECT_EQ(report.Information, ReportInformation{});
    EXPECT_EQ(ui.passwordAsked, 0);
    EXPECT_TRUE(report.LoadFailed);
}

TEST_F(OlderTemplates, AFailingRecordOfVersion24OnIsSkippedByItsEndPosition)
{
    Bytes b;
    b.u8(24).u16(0).u16(0).str("");
    page25(b, true, pagetype::Report, 3, 4);
    // A picture whose graphic data would end beyond its record; the record
    // fails, its end position holds.
    b.u8(kind::Picture).u8(0);
    const std::size_t end = b.reserve();
    common25(b, "Picture1");
    b.u8(4).u8(1);
    b.i32(100000);
    b.raw("\xFF\xD8\xFF");
    b.patch(end);
    memoEntry25(b, "Memo1");
    TfrReport report;
    report.LoadFromBytes(withTrailer(b), TemplateOrigin::Memory);
    ASSERT_TRUE(ui.shown.empty());
    const TfrPage& page = report.Pages.Items(0);
    ASSERT_EQ(page.ObjectCount(), 2);
    EXPECT_EQ(page.PageObjects[0]->Name, "Picture1");   // stays with what it had read
    EXPECT_TRUE(dynamic_cast<const TfrPictureView&>(*page.PageObjects[0]).Picture.IsEmpty());
    EXPECT_EQ(page.PageObjects[1]->Name, "Memo1");
    EXPECT_EQ(dynamic_cast<const TfrMemoView&>(*page.PageObjects[1]).LineSpacing, 4);
}

// Tag FD introduces the block of a data-manager component this system does not
// have: one more byte is consumed and the pages section ends there, so the
// trailer follows. An FD with no byte after it is a stream cut short.
TEST_F(OlderTemplates, TagFDEndsThePagesSectionAfterOneMoreByte)
{
    Bytes b;
    b.u8(25).u16(0).u16(0).str("");
    page25(b, true, pagetype::Report, 3, 4);
    memoEntry25(b, "Memo1");
    b.u8(0xFD).u8(0xFF);   // the byte after FD would be a page tag anywhere else
    Bytes trailer;
    plainTrailer(trailer);
    const std::string bytes = b.s + trailer.s;
    TfrReport report;
    report.LoadFromBytes(bytes, TemplateOrigin::Memory);
    ASSERT_TRUE(ui.shown.empty()) << ui.shown[0].text;
    EXPECT_FALSE(report.LoadFailed);
    ASSERT_EQ(report.Pages.Count(), 1);
    ASSERT_EQ(report.Pages.Items(0).ObjectCount(), 1);
    EXPECT_EQ(report.Pages.Items(0).PageObjects[0]->Name, "Memo1");
    EXPECT_EQ(report.Created.days, 40000.5);   // the trailer was read right after the byte
    EXPECT_EQ(report.Modified.days, 40001.25);

    Bytes cut;
    cut.u8(25).u16(0).u16(0).str("");
    page25(cut, true, pagetype::Report, 3, 4);
    memoEntry25(cut, "Memo1");
    cut.u8(0xFD);
    report.LoadFromBytes(cut.s, TemplateOrigin::Memory);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "Unsupported FRF format");
    EXPECT_TRUE(report.LoadFailed);
    EXPECT_EQ(report.Pages.Items(0).ObjectCount(), 0);
}

// An object entry whose page index names no page: from version 24 on it is
// skipped by its end position and the objects after it are read; without end
// positions (version 23) the reader goes on at the record's first byte, which
// derails it, and the template is refused.
TEST_F(OlderTemplates, AnObjectOfAPageThatDoesNotExist)
{
    Bytes b;
    b.u8(25).u16(0).u16(0).str("");
    memoEntry25(b, "Early");   // before any page
    page25(b, true, pagetype::Report, 3, 4);
    b.u8(kind::Memo).u8(1);    // the second page, which never comes
    const std::size_t end = b.reserve();
    common25(b, "Orphan");
    memoPart(b, true);
    b.patch(end);
    memoEntry25(b, "Memo1");
    TfrReport report;
    report.LoadFromBytes(withTrailer(b), TemplateOrigin::Memory);
    ASSERT_TRUE(ui.shown.empty()) << ui.shown[0].text;
    EXPECT_FALSE(report.LoadFailed);
    ASSERT_EQ(report.Pages.Count(), 1);
    ASSERT_EQ(report.Pages.Items(0).ObjectCount(), 1);
    EXPECT_EQ(report.Pages.Items(0).PageObjects[0]->Name, "Memo1");
    EXPECT_EQ(report.Created.days, 40000.5);

    Bytes old;
    old.u8(23).u16(0).u16(0).str("");
    old.u8(0xFF).i32(-1).i32(9).i32(2100).i32(2970).i32(0).i32(0).i32(0).i32(0).u8(0);
    old.u16(0).u16(0xFFFF).i32(1).i32(0);
    old.u8(kind::Line).u8(1);
    old.str("Orphan").i32(1).i32(2).i32(3).i32(4).u16(1).u16(0).i32(1).i32(0).u16(0).i32(0x1FFFFFFF);
    old.i32(0).str("").list({}).list({}).u16(0);
    report.LoadFromBytes(withTrailer(old), TemplateOrigin::Memory);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "Unsupported FRF format");
    EXPECT_TRUE(report.LoadFailed);
    ASSERT_EQ(report.Pages.Count(), 1);
    EXPECT_EQ(report.Pages.Items(0).ObjectCount(), 0);
}

TEST_F(OlderTemplates, NewerVersionsAndBadTagsAreUnsupported)
{
    TfrReport report;
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    page.Add<TfrMemoView>().Name = "Kept";
    report.Dictionary.VarList.SetVariable(" Cat", Value(""));
    report.Information.Name = "before";

    Bytes newer;
    newer.u8(26).u16(0).u16(0).str("");
    report.LoadFromBytes(withTrailer(newer), TemplateOrigin::Memory);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "Unsupported FRF format");
    EXPECT_EQ(ui.shown[0].caption, "Error");
    EXPECT_EQ(ui.shown[0].icon, ui::Icon::Error);
    ASSERT_EQ(report.Pages.Count(), 1);
    EXPECT_EQ(report.Pages.Items(0).PageObjects[0]->Name, "Kept");
    EXPECT_EQ(report.Dictionary.VarList.Count(), 1);
    EXPECT_EQ(report.Information.Name, "before");
    EXPECT_TRUE(report.LoadFailed);

    ui.shown.clear();
    Bytes badTag;
    badTag.u8(25).u16(0).u16(0).str("");
    page25(badTag, true, pagetype::Report, 3, 4);
    badTag.u8(11);
    report.LoadFromBytes(withTrailer(badTag), TemplateOrigin::Memory);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "Unsupported FRF format");
    ASSERT_EQ(report.Pages.Count(), 1);
    EXPECT_EQ(report.Pages.Items(0).ObjectCount(), 0);
    EXPECT_EQ(report.Dictionary.VarList.Count(), 0);
    EXPECT_TRUE(report.LoadFailed);

    // A good read afterwards clears the flag.
    ui.shown.clear();
    Bytes good;
    good.u8(25).u16(0).u16(0).str("");
    page25(good, true, pagetype::Report, 3, 4);
    report.LoadFromBytes(withTrailer(good), TemplateOrigin::Memory);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_FALSE(report.LoadFailed);
}

} // namespace
} // namespace pemvora::report::test
