// The exact bytes of every record the template writer produces, each expected
// stream built field by field from the record tables of the format with the
// tests' own byte builder. Every field holds a value no other field of its
// record holds, so two fields written in each other's place show.

#include "tests/report/model/template_support.h"

#include "report/model/binary_stream.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/template_codec.h"

#include <gtest/gtest.h>

#include <functional>

namespace pemvora::report::test {
namespace {

// Bytes as two hexadecimal digits each, so a failure shows where they differ.
std::string hex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) out += i % 16 == 0 ? '\n' : ' ';
        const auto b = static_cast<unsigned char>(bytes[i]);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

std::string written(const std::function<void(TemplateWriter&)>& write)
{
    BinaryWriter out;
    TemplateWriter w(out);
    write(w);
    return out.take();
}

// The common record's fields as the objects below carry them.
void fillCommon(TfrView& v, const char* name)
{
    v.Name = name;
    v.PlaceAt(10, 20, 30, 40);
    v.Flags = 0x0102;
    v.FrameTyp = 0x0003;
    v.FrameWidth = 2.5f;
    v.FrameColor = 0x00112233;
    v.FrameStyle = 4;
    v.FillColor = 0x00445566;
    v.DisplayFormat = 0x01020A2E;
    v.DisplayFormatText = "#0.00";
    v.Memo = {"a", "bc"};
    v.ScriptLines = {"x"};
    v.Visible = false;
    v.Restrictions = 0x5A;
    v.Tag = "t";
    v.GapX = 5;
    v.GapY = 6;
    v.BandAlign = 7;
}

// The common record of fillCommon, as the table orders it: Name, the two
// record-version bytes, Left Top Width Height, Flags, FrameTyp, FrameWidth
// (2.5 is not whole: stored in thousandths), FrameColor, FrameStyle,
// FillColor, DisplayFormat, DisplayFormatText, Memo, ScriptLines, Visible,
// Restrictions, Tag, GapX, GapY, BandAlign.
Bytes commonRecord(const char* name, int minor = 0, int frameTyp = 0x0003)
{
    Bytes b;
    b.str(name).u8(2).u8(minor);
    b.i32(10).i32(20).i32(30).i32(40);
    b.u16(0x0102).u16(frameTyp).i32(2500).i32(0x00112233).u16(4).i32(0x00445566);
    b.i32(0x01020A2E).str("#0.00");
    b.list({"a", "bc"});
    b.list({"x"}).u16(0);
    b.u16(0x5A).str("t").i32(5).i32(6).u8(7);
    return b;
}

void fillText(TfrMemoView& m)
{
    fillCommon(m, "Memo1");
    m.Font = {"Arial", 12, fontstyle::Bold | fontstyle::Italic, 0x0000FF, 134};
    m.Alignment = 0x0105;
    m.Highlight = {fontstyle::Underline, 0x111111, 0x222222};
    m.HighlightCondition = "Value > 0";
    m.LineSpacing = 8;
    m.CharSpacing = 9;
}

void fillPage(TfrPage& page)
{
    page.Paper.size = 256;
    page.Paper.width = 1750;
    page.Paper.height = 800;
    page.Paper.orientation = 1;
    page.Paper.bin = 7;
    page.Margins = {11, 12, 13, 14};
    page.PrintToPrevPage = true;
    page.MarginsInUse = false;
    page.Columns = 2;
    page.ColumnGap = 9;
    page.Type = pagetype::Dialog;
    page.Name = "Cheque";
    page.BorderStyle = 2;
    page.Caption = "Ask";
    page.WindowColor = 0x123456;
    page.Left = 21;
    page.Top = 22;
    page.Width = 23;
    page.Height = 24;
    page.Position = 4;
    page.ScriptLines = {"begin", "end"};
}

// The page record of fillPage: the marker -1, paper size code, width, height,
// margins left top right bottom, orientation, bin, PrintToPrevPage, margins
// in use, Columns, ColumnGap, Type, Name, BorderStyle, Caption, Color, Left
// Top Width Height, Position, ScriptLines.
Bytes pageRecord()
{
    Bytes b;
    b.i32(-1).i32(256).i32(1750).i32(800);
    b.i32(11).i32(12).i32(13).i32(14).u8(1).i32(7);
    b.u16(0xFFFF).u16(0).i32(2).i32(9);
    b.u8(1).str("Cheque").u8(2).str("Ask").i32(0x123456);
    b.i32(21).i32(22).i32(23).i32(24).u8(4);
    b.list({"begin", "end"});
    return b;
}

TEST(TemplateRecords, EachRecordKindIsWrittenFieldByFieldInTableOrder)
{
    resetAll();
    struct Case {
        const char* record;
        std::function<void(TemplateWriter&)> write;
        std::string expected;
    };
    std::vector<Case> cases;

    // A line is the common record and nothing else.
    cases.push_back({"line: the common record",
                     [](TemplateWriter& w) {
                         TfrLineView line;
                         fillCommon(line, "Line1");
                         SaveObjectRecord(w, line);
                     },
                     commonRecord("Line1").s});

    // Text: font name, size, style (1 italic + 2 bold), colour, alignment,
    // character set, highlight (style 4 underline, font colour, fill colour),
    // its condition, line and character spacing.
    {
        Bytes b = commonRecord("Memo1");
        b.str("Arial").i32(12).u16(3).i32(0x0000FF).i32(0x0105).u16(134);
        b.u16(4).i32(0x111111).i32(0x222222).str("Value > 0");
        b.i32(8).i32(9);
        cases.push_back({"text",
                         [](TemplateWriter& w) {
                             TfrMemoView memo;
                             fillText(memo);
                             SaveObjectRecord(w, memo);
                         },
                         b.s});
    }

    // Prepared form: no display format, WorkLines in the place of Memo, no
    // script and no Visible; the text part without highlight and condition.
    {
        Bytes b;
        b.str("Memo1").u8(2).u8(0);
        b.i32(10).i32(20).i32(30).i32(40);
        b.u16(0x0102).u16(0x0003).i32(2500).i32(0x00112233).u16(4).i32(0x00445566);
        b.list({"worked", "out"});
        b.u16(0x5A).str("t").i32(5).i32(6).u8(7);
        b.str("Arial").i32(12).u16(3).i32(0x0000FF).i32(0x0105).u16(134);
        b.i32(8).i32(9);
        cases.push_back({"text in prepared form",
                         [](TemplateWriter& w) {
                             TfrMemoView memo;
                             fillText(memo);
                             memo.PreparedMode = true;
                             memo.WorkLines = {"worked", "out"};
                             SaveObjectRecord(w, memo);
                         },
                         b.s});
    }

    // Picture: graphic kind (2 metafile), BlobType (1 JPEG), the position just
    // after the graphic data, the data.
    {
        Bytes b = commonRecord("Picture1");
        b.u8(2).u8(1);
        const std::size_t end = b.reserve();
        b.raw("WMF!data");
        b.patch(end);
        cases.push_back({"picture",
                         [](TemplateWriter& w) {
                             TfrPictureView picture;
                             fillCommon(picture, "Picture1");
                             picture.BlobType = 1;
                             picture.Picture = {GraphicKind::Metafile, "WMF!data"};
                             SaveObjectRecord(w, picture);
                         },
                         b.s});
    }
    {
        Bytes b = commonRecord("Picture2");
        b.u8(0).u8(3);
        b.patch(b.reserve());   // no data: the end points right after itself
        cases.push_back({"picture without a graphic",
                         [](TemplateWriter& w) {
                             TfrPictureView picture;
                             fillCommon(picture, "Picture2");
                             picture.BlobType = 3;
                             SaveObjectRecord(w, picture);
                         },
                         b.s});
    }

    // Band: record version 2.1, the band kind (16, group header) as FrameTyp,
    // then ChildBand, Columns, ColumnWidth, ColumnGap, NewColumnAfter, Master.
    {
        Bytes b = commonRecord("Band1", 1, 16);
        b.str("Child1").i32(3).i32(150).i32(12).i32(4).str("Data1");
        cases.push_back({"band",
                         [](TemplateWriter& w) {
                             TfrBandView band;
                             fillCommon(band, "Band1");
                             band.SetBandKind(bandkind::GroupHeader);
                             band.ChildBand = "Child1";
                             band.Columns = 3;
                             band.ColumnWidth = 150;
                             band.ColumnGap = 12;
                             band.NewColumnAfter = 4;
                             band.Master = "Data1";
                             SaveObjectRecord(w, band);
                         },
                         b.s});
    }

    // Sub-report: the page holding it.
    cases.push_back({"sub-report",
                     [](TemplateWriter& w) {
                         TfrSubReportView sub;
                         fillCommon(sub, "SubReport1");
                         sub.SubPageIndex = 258;
                         SaveObjectRecord(w, sub);
                     },
                     commonRecord("SubReport1").i32(258).s});

    cases.push_back({"page",
                     [](TemplateWriter& w) {
                         TfrPage page;
                         fillPage(page);
                         SavePageRecord(w, page);
                     },
                     pageRecord().s});

    // Dictionary: the marker -2, then variables, field aliases and data
    // source aliases, each a count and (name, value) pairs in list order.
    {
        Bytes b;
        b.u16(0xFFFE);
        b.i32(2).str(" Cheque").str("").str("amount").str("[dx]");
        b.i32(1).str("Table1").str("Payments");
        b.i32(1).str("Source1").str("Rows");
        cases.push_back({"dictionary",
                         [](TemplateWriter& w) {
                             TfrDataDictionary d;
                             d.VarList.SetVariable(" Cheque", Value(""));
                             d.VarList.SetVariable("amount", Value("[dx]"));
                             d.AliasList.SetVariable("Table1", Value("Payments"));
                             d.SourceAliasList.SetVariable("Source1", Value("Rows"));
                             SaveDictionary(w, d);
                         },
                         b.s});
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        EXPECT_EQ(hex(written(c.write)), hex(c.expected));
    }
}

// A whole template: the version byte, the pages section (PrintToDefault,
// TwoPass, the printer name, each page after FF, each object entry with its
// kind, page index and end position, the dictionary after FE), FC, and the
// trailer (comment, name, author, the four version texts, the password in
// hexadecimal, the generator 88, the protection flag, created, modified).
TEST(TemplateRecords, AWholeTemplateIsTheFrameAroundItsRecords)
{
    resetAll();
    TfrReport report;
    report.Printer.PrintToDefault = true;
    report.TwoPass = false;
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    fillPage(page);
    auto& line = page.Add<TfrLineView>();
    fillCommon(line, "Line1");
    report.Information.Comment = "c";
    report.Information.Name = "nm";
    report.Information.Author = "aut";
    report.Information.VersionMajor = "1";
    report.Information.VersionMinor = "22";
    report.Information.VersionRelease = "333";
    report.Information.VersionBuild = "4444";
    report.ReportPassword = "k\xC3\xDC";
    report.PasswordProtected = true;
    report.Created = DateTime{40000.25};

    Bytes b;
    b.u8(25).u16(0xFFFF).u16(0).str("");
    b.u8(0xFF).raw(pageRecord().s);
    b.u8(4).u8(0);
    const std::size_t end = b.reserve();
    b.raw(commonRecord("Line1").s);
    b.patch(end);
    b.u8(0xFE).u16(0xFFFE).i32(0).i32(0).i32(0);
    b.u8(0xFC);
    b.u16(1).raw("c").u16(2).raw("nm").u16(3).raw("aut");
    b.u16(1).raw("1").u16(2).raw("22").u16(3).raw("333").u16(4).raw("4444");
    b.u16(6).raw("6BC3DC");
    b.u8(88).u8(1).f64(40000.25);

    const std::string bytes = report.SaveToBytes();
    ASSERT_EQ(bytes.size(), b.size() + 8);   // and the modified date-time
    EXPECT_EQ(hex(bytes.substr(0, b.size())), hex(b.s));
    EXPECT_EQ(hex(bytes.substr(b.size())), hex(Bytes().f64(report.Modified.days).s));
}

} // namespace
} // namespace pemvora::report::test
