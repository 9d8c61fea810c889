// The template format as this system writes it: the exact bytes of strings,
// lists, frame widths, the password and the stream's frame; every field of every
// kind read back; saves that must fail; the file operations.

#include "tests/report/model/template_support.h"

#include "report/model/binary_stream.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/picture_codec.h"
#include "report/model/template_codec.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace pemvora::report::test {
namespace {

std::string written(const std::function<void(TemplateWriter&)>& write)
{
    BinaryWriter out;
    TemplateWriter w(out);
    write(w);
    return out.take();
}

std::string imageBytes(const char* format, QColor colour)
{
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, 95));
    return data.toStdString();
}

std::string readAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TemplateFormat : public ::testing::Test {
protected:
    void SetUp() override { resetAll(); }
    RecordingUi ui;
};

TEST_F(TemplateFormat, StringsAndListsHaveTheirExactBytes)
{
    using namespace std::string_literals;
    EXPECT_EQ(written([](TemplateWriter& w) { w.WriteString(""); }), "\x00\x00\x00"s);
    EXPECT_EQ(written([](TemplateWriter& w) { w.WriteStringList({}); }), "\x00\x00\x00"s);
    EXPECT_EQ(written([](TemplateWriter& w) { w.WriteStringList({"a", "bc"}); }),
              "\x02\x00\x01\x00\x61\x0D\x02\x00\x62\x63\x00"s);
    EXPECT_EQ(written([](TemplateWriter& w) { w.WriteTrailerString("ab"); }), "\x02\x00" "ab"s);

    // The reader's side, in both eras: the newer encoding, and the older
    // zero-terminated text where 13 ends a line and 0 the list.
    struct Case {
        int version;
        std::string bytes;
        StringList expected;
    } cases[] = {
        {25, "\x02\x00\x01\x00\x61\x0D\x02\x00\x62\x63\x00"s, {"a", "bc"}},
        {25, "\x00\x00\x00"s, {}},
        {22, "a\rbc\0"s, {"a", "bc"}},
        {22, "a\r\rb\r\0"s, {"a", "", "b"}},
        {22, "\0"s, {}},
    };
    for (const Case& c : cases) {
        BinaryReader in(c.bytes);
        TemplateReader r(in, c.version);
        EXPECT_EQ(r.ReadStringList(), c.expected) << c.version << " " << c.bytes.size();
        EXPECT_TRUE(in.atEnd());
    }
}

TEST_F(TemplateFormat, FrameWidthsAreStoredSoThatEachReadsBackExactly)
{
    struct Case {
        float width;
        std::int32_t stored;
    } cases[] = {{1.0f, 1}, {0.5f, 500}, {10.0f, 10}, {0.0f, 0}, {11.0f, 11000}, {2.25f, 2250}, {-1.0f, -1}};
    for (const Case& c : cases) {
        EXPECT_EQ(encodeFrameWidth(c.width), c.stored) << c.width;
        EXPECT_EQ(decodeFrameWidth(c.stored), c.width) << c.width;
    }
    // Thousandths that would read back as whole widths cannot be stored.
    EXPECT_THROW(encodeFrameWidth(0.005f), TemplateSaveError);
    EXPECT_THROW(encodeFrameWidth(-0.5f), TemplateSaveError);

    TfrReport report;
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    page.Add<TfrLineView>().FrameWidth = 1.0f;
    page.Add<TfrLineView>().FrameWidth = 0.5f;
    page.Add<TfrLineView>().FrameWidth = 12.0f;
    TfrReport copy;
    copy.LoadFromBytes(report.SaveToBytes(), TemplateOrigin::Memory);
    ASSERT_EQ(copy.Pages.Items(0).ObjectCount(), 3);
    EXPECT_EQ(copy.Pages.Items(0).PageObjects[0]->FrameWidth, 1.0f);
    EXPECT_EQ(copy.Pages.Items(0).PageObjects[1]->FrameWidth, 0.5f);
    EXPECT_EQ(copy.Pages.Items(0).PageObjects[2]->FrameWidth, 12.0f);
}

TEST_F(TemplateFormat, StreamStartsWith25AndEndsPagesWithFCThenTheTrailer)
{
    TfrReport report;
    report.Pages.Add();
    report.ReportPassword = "abc";
    const std::string bytes = report.SaveToBytes();
    ASSERT_GT(bytes.size(), 50u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 25);
    // The trailer: 7 empty strings, the password (06 00 and six digits), the
    // generator 88, the protection flag and two date-times.
    const std::size_t trailer = bytes.size() - (7 * 2 + 2 + 6 + 1 + 1 + 16);
    EXPECT_EQ(static_cast<unsigned char>(bytes[trailer - 1]), 0xFC);
    EXPECT_EQ(bytes.substr(trailer + 14, 8), std::string("\x06\x00" "616263", 8));
    EXPECT_EQ(static_cast<unsigned char>(bytes[trailer + 22]), 88);
    // Before FC: the dictionary tag and its marker -2 with three empty lists.
    EXPECT_EQ(bytes.substr(trailer - 1 - 15, 3), "\xFE\xFE\xFF");

    EXPECT_EQ(passwordToHex("\x01\xAB\xFF"), "01ABFF");
    EXPECT_EQ(passwordFromHex("01abFf"), "\x01\xAB\xFF");
}

TEST_F(TemplateFormat, EveryFieldOfEveryKindReadsBack)
{
    TfrReport report;
    report.Printer.PrintToDefault = true;
    report.TwoPass = true;
    report.Printer.PrinterName = "Office";
    report.Information = {"name", "author", "comment", "1", "2", "3", "4"};
    report.Created = DateTime{40000.25};
    report.Dictionary.VarList.SetVariable(" Cheque", Value(""));
    report.Dictionary.VarList.SetVariable("amount", Value("[dx]"));
    report.Dictionary.AliasList.SetVariable("Table1", Value("Payments"));
    report.Dictionary.SourceAliasList.SetVariable("Source1", Value("Rows"));

    TfrPage& page = report.Pages.Items(report.Pages.Add());
    page.ApplyPaper({256, 1750, 800, 1, 7});
    page.Margins = {1, 2, 3, 4};
    page.PrintToPrevPage = true;
    page.MarginsInUse = false;
    page.Columns = 2;
    page.ColumnGap = 9;
    page.Name = "Cheque";
    page.ScriptLines = {"begin", "end"};
    TfrPage& dialog = report.Pages.Items(report.Pages.Add());
    dialog.Type = pagetype::Dialog;
    dialog.BorderStyle = 2;
    dialog.Caption = "Ask";
    dialog.WindowColor = 0x123456;
    dialog.Left = 1;
    dialog.Top = 2;
    dialog.Width = 3;
    dialog.Height = 4;
    dialog.Position = 0;

    auto& memo = page.Add<TfrMemoView>();
    memo.Name = "Memo1";
    memo.PlaceAt(10, 20, 30, 40);
    memo.Flags = 0x1FF;
    memo.FrameTyp = frame::All;
    memo.FrameWidth = 2.5f;
    memo.FrameColor = 0xFF0000;
    memo.FrameStyle = penstyle::Double;
    memo.FillColor = 0x00FF00;
    memo.DisplayFormat = 0x01020A2E;
    memo.DisplayFormatText = "#,##0.00";
    memo.Memo = {"[dx]", "\xD6\xD0\xCE\xC4"};
    memo.ScriptLines = {"if a then b"};
    memo.Visible = false;
    memo.Restrictions = 0x7F;
    memo.Tag = "[tag]";
    memo.GapX = 5;
    memo.GapY = 6;
    memo.BandAlign = bandalign::Rest;
    memo.Font = {"\xCB\xCE\xCC\xE5", 12, fontstyle::Bold | fontstyle::Italic, 0x0000FF, 134};
    memo.Alignment = textalign::Center | textalign::Bottom | textalign::Rotated;
    memo.Highlight = {fontstyle::Underline, 0x111111, 0x222222};
    memo.HighlightCondition = "Value > 0";
    memo.LineSpacing = 7;
    memo.CharSpacing = 3;

    auto& band = page.Add<TfrBandView>();
    band.Name = "Band1";
    band.SetBandKind(bandkind::GroupHeader);
    band.DisplayFormatText = "Table1.\"Date\"";
    band.ChildBand = "Child1";
    band.Master = "Data1";
    band.Columns = 3;
    band.ColumnWidth = 150;
    band.ColumnGap = 12;
    band.NewColumnAfter = 4;

    auto& picture = page.Add<TfrPictureView>();
    picture.Name = "Picture1";
    picture.BlobType = blobtype::Icon;
    picture.Picture = {GraphicKind::Jpeg, imageBytes("JPG", Qt::red)};
    auto& bitmap = page.Add<TfrPictureView>();
    bitmap.Name = "Picture2";
    bitmap.Picture = {GraphicKind::Bitmap, imageBytes("BMP", Qt::blue)};
    auto& metafile = page.Add<TfrPictureView>();
    metafile.Name = "Picture3";
    metafile.Picture = {GraphicKind::Metafile, std::string("\xD7\xCD\xC6\x9A metafile bytes", 20)};
    auto& sub = page.Add<TfrSubReportView>();
    sub.Name = "SubReport1";
    sub.SubPageIndex = 1;
    auto& line = page.Add<TfrLineView>();
    line.Name = "Line1";

    const std::string bytes = report.SaveToBytes();
    TfrReport copy;
    copy.LoadFromBytes(bytes, TemplateOrigin::Memory);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_FALSE(copy.LoadFailed);

    EXPECT_TRUE(copy.Printer.PrintToDefault);
    EXPECT_TRUE(copy.TwoPass);
    EXPECT_EQ(copy.Printer.PrinterName, "Office");
    EXPECT_EQ(copy.Information, report.Information);
    EXPECT_EQ(copy.Created, report.Created);
    EXPECT_EQ(copy.Modified, report.Modified);
    EXPECT_EQ(copy.Dictionary.VarList.NameAt(1), "amount");
    EXPECT_EQ(copy.Dictionary.VarList.ValueAt(1).toText(), "[dx]");
    EXPECT_EQ(copy.Dictionary.AliasList.GetVariable("Table1").toText(), "Payments");
    EXPECT_EQ(copy.Dictionary.SourceAliasList.GetVariable("Source1").toText(), "Rows");

    ASSERT_EQ(copy.Pages.Count(), 2);
    const TfrPage& p = copy.Pages.Items(0);
    // The paper as the printer gave it to the page that was written.
    EXPECT_EQ(page.Paper.size, 256);
    EXPECT_EQ(std::tie(p.Paper.size, p.Paper.width, p.Paper.height, p.Paper.orientation, p.Paper.bin),
              std::tie(page.Paper.size, page.Paper.width, page.Paper.height, page.Paper.orientation, page.Paper.bin));
    EXPECT_EQ(std::tie(p.Margins.Left, p.Margins.Top, p.Margins.Right, p.Margins.Bottom), std::make_tuple(1, 2, 3, 4));
    EXPECT_TRUE(p.PrintToPrevPage);
    EXPECT_FALSE(p.MarginsInUse);
    EXPECT_EQ(p.Columns, 2);
    EXPECT_EQ(p.ColumnGap, 9);
    EXPECT_EQ(p.Name, "Cheque");
    EXPECT_EQ(p.ScriptLines, page.ScriptLines);
    const TfrPage& d = copy.Pages.Items(1);
    EXPECT_EQ(d.Type, pagetype::Dialog);
    EXPECT_EQ(d.BorderStyle, 2);
    EXPECT_EQ(d.Caption, "Ask");
    EXPECT_EQ(d.WindowColor, 0x123456u);
    EXPECT_EQ(std::tie(d.Left, d.Top, d.Width, d.Height), std::make_tuple(1, 2, 3, 4));
    EXPECT_EQ(d.Position, 0);

    ASSERT_EQ(p.ObjectCount(), 7);
    const auto& m = dynamic_cast<const TfrMemoView&>(*p.PageObjects[0]);
    EXPECT_EQ(m.Name, "Memo1");
    EXPECT_EQ(std::tie(m.Left, m.Top, m.Width, m.Height), std::make_tuple(10, 20, 30, 40));
    EXPECT_EQ(m.Flags, 0x1FF);
    EXPECT_EQ(m.FrameTyp, frame::All);
    EXPECT_EQ(m.FrameWidth, 2.5f);
    EXPECT_EQ(m.FrameColor, 0xFF0000u);
    EXPECT_EQ(m.FrameStyle, penstyle::Double);
    EXPECT_EQ(m.FillColor, 0x00FF00u);
    EXPECT_EQ(m.DisplayFormat, 0x01020A2Eu);
    EXPECT_EQ(m.DisplayFormatText, "#,##0.00");
    EXPECT_EQ(m.Memo, memo.Memo);
    EXPECT_EQ(m.ScriptLines, memo.ScriptLines);
    EXPECT_FALSE(m.Visible);
    EXPECT_EQ(m.Restrictions, 0x7F);
    EXPECT_EQ(m.Tag, "[tag]");
    EXPECT_EQ(std::tie(m.GapX, m.GapY), std::make_tuple(5, 6));
    EXPECT_EQ(m.BandAlign, bandalign::Rest);
    EXPECT_EQ(m.Font, memo.Font);
    EXPECT_EQ(m.Alignment, memo.Alignment);
    EXPECT_EQ(m.Highlight, memo.Highlight);
    EXPECT_EQ(m.HighlightCondition, "Value > 0");
    EXPECT_EQ(std::tie(m.LineSpacing, m.CharSpacing), std::make_tuple(7, 3));
    EXPECT_EQ(std::tie(m.RecordVersionMajor, m.RecordVersionMinor), std::make_tuple(std::uint8_t(2), std::uint8_t(0)));

    const auto& b = dynamic_cast<const TfrBandView&>(*p.PageObjects[1]);
    EXPECT_EQ(b.BandKind(), bandkind::GroupHeader);
    EXPECT_EQ(b.DisplayFormatText, "Table1.\"Date\"");
    EXPECT_EQ(b.ChildBand, "Child1");
    EXPECT_EQ(b.Master, "Data1");
    EXPECT_EQ(std::tie(b.Columns, b.ColumnWidth, b.ColumnGap, b.NewColumnAfter), std::make_tuple(3, 150, 12, 4));
    EXPECT_EQ(b.RecordVersionMinor, 1);

    const auto& pic = dynamic_cast<const TfrPictureView&>(*p.PageObjects[2]);
    EXPECT_EQ(pic.Picture, picture.Picture);
    EXPECT_EQ(pic.BlobType, blobtype::Icon);
    const QImage decoded = decodeGraphic(pic.Picture.Kind, pic.Picture.Data);
    ASSERT_EQ(decoded.size(), QSize(6, 4));
    EXPECT_GT(qRed(decoded.pixel(2, 2)), 200);
    EXPECT_LT(qGreen(decoded.pixel(2, 2)), 60);
    EXPECT_EQ(dynamic_cast<const TfrPictureView&>(*p.PageObjects[3]).Picture, bitmap.Picture);
    EXPECT_EQ(dynamic_cast<const TfrPictureView&>(*p.PageObjects[4]).Picture, metafile.Picture);
    EXPECT_EQ(dynamic_cast<const TfrSubReportView&>(*p.PageObjects[5]).SubPageIndex, 1);
    const auto& l = dynamic_cast<const TfrLineView&>(*p.PageObjects[6]);
    EXPECT_EQ(l.Name, "Line1");
    EXPECT_EQ(l.FrameTyp, frame::Left);
    EXPECT_EQ(l.FillColor, kWhite);

    // And written again, the same bytes apart from the modified date-time.
    const std::string again = copy.SaveToBytes();
    ASSERT_EQ(again.size(), bytes.size());
    EXPECT_EQ(again.substr(0, again.size() - 8), bytes.substr(0, bytes.size() - 8));
}

TEST_F(TemplateFormat, AnEmptyPictureStillCarriesBlobTypeAndAnEndPointingPastItself)
{
    TfrReport report;
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    page.Add<TfrPictureView>().BlobType = blobtype::Metafile;
    const std::string bytes = report.SaveToBytes();
    TfrReport copy;
    copy.LoadFromBytes(bytes, TemplateOrigin::Memory);
    ASSERT_EQ(copy.Pages.Items(0).ObjectCount(), 1);
    EXPECT_EQ(dynamic_cast<TfrPictureView&>(*copy.Pages.Items(0).PageObjects[0]).BlobType, blobtype::Metafile);
    // The record ends with kind 0, BlobType 3 and a u32 equal to the offset right after them.
    bool found = false;
    for (std::size_t i = 0; i + 6 <= bytes.size(); ++i) {
        if (bytes[i] != 0 || bytes[i + 1] != 3) continue;
        BinaryReader r(bytes);
        r.seek(i + 2);
        if (r.u32() == i + 6) found = true;
    }
    EXPECT_TRUE(found);
}

TEST_F(TemplateFormat, ProtectedTemplatesAskForTheirPasswordOnlyWhenReadFromAFile)
{
    QTemporaryDir dir;
    const std::string file = (dir.path() + "/p.frf").toStdString();
    {
        TfrReport report;
        TfrPage& page = report.Pages.Items(report.Pages.Add());
        page.Add<TfrMemoView>().Name = "Memo1";
        report.PasswordProtected = true;
        report.ReportPassword = "k\xC3\xDC";   // "k" and a GBK character
        report.Information.Name = "secret";
        report.SaveToFile(file);
    }
    struct Case {
        std::optional<std::string> answer;
        bool kept;
    } cases[] = {{"k\xE5\xAF\x86", true}, {"K\xE5\xAF\x86", false}, {std::nullopt, false}};
    for (const Case& c : cases) {
        TfrReport report;
        ui.passwordAnswer = c.answer;
        ui.passwordAsked = 0;
        ASSERT_TRUE(report.LoadFromFile(file));
        EXPECT_EQ(ui.passwordAsked, 1);
        EXPECT_EQ(report.Pages.Count(), 1);
        EXPECT_EQ(report.Pages.Items(0).ObjectCount(), c.kept ? 1 : 0);
        EXPECT_EQ(report.Information.Name, c.kept ? "secret" : "");
        EXPECT_EQ(report.TemplateFileName, c.kept ? file : "Untitled");
        EXPECT_EQ(report.LoadFailed, !c.kept);
    }
    // The same bytes from memory (a template kept inside a window) are not protected.
    TfrReport report;
    ui.passwordAsked = 0;
    report.LoadFromBytes(readAll(file), TemplateOrigin::Memory);
    EXPECT_EQ(ui.passwordAsked, 0);
    EXPECT_EQ(report.Pages.Items(0).ObjectCount(), 1);
    EXPECT_TRUE(ui.shown.empty());
}

// An answer with a character GBK cannot hold, or that is no UTF-8 at all,
// matches no stored password: not even one in which that character would
// have turned into "?" or vanished.
TEST_F(TemplateFormat, APasswordAnswerThatGbkCannotHoldIsRefused)
{
    QTemporaryDir dir;
    struct Case { const char* stored; const char* answer; };
    const Case cases[] = {
        {"k?", "k\xF0\x9F\x98\x80"},   // "k" and an emoji
        {"k", "k\xF0\x9F\x98\x80"},
        {"k?", "k\xFF"},
        {"k", "k\xFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " / " + c.answer);
        const std::string file = (dir.path() + "/p.frf").toStdString();
        {
            TfrReport report;
            report.Pages.Items(report.Pages.Add()).Add<TfrMemoView>().Name = "Memo1";
            report.PasswordProtected = true;
            report.ReportPassword = c.stored;
            report.SaveToFile(file);
        }
        TfrReport report;
        ui.passwordAnswer = c.answer;
        ui.passwordAsked = 0;
        ASSERT_TRUE(report.LoadFromFile(file));
        EXPECT_EQ(ui.passwordAsked, 1);
        EXPECT_EQ(report.Pages.Count(), 1);
        EXPECT_EQ(report.Pages.Items(0).ObjectCount(), 0);
        EXPECT_EQ(report.TemplateFileName, "Untitled");
        EXPECT_TRUE(report.LoadFailed);
        EXPECT_TRUE(ui.shown.empty());
    }
}

// A name that exists but cannot be opened as a file (here a folder) is an
// error for the caller; the report keeps what it had.
TEST_F(TemplateFormat, AnUnreadableFileRaisesAndChangesNothing)
{
    QTemporaryDir dir;
    const std::string folder = (dir.path() + "/folder.frf").toStdString();
    std::filesystem::create_directory(folder);
    TfrReport report;
    report.Pages.Items(report.Pages.Add()).Add<TfrMemoView>().Name = "Kept";
    report.TemplateFileName = "before.frf";
    try {
        report.LoadFromFile(folder);
        ADD_FAILURE() << "a folder was read as a template";
    } catch (const TemplateFileError& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot open file"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(folder), std::string::npos) << e.what();
    }
    ASSERT_EQ(report.Pages.Count(), 1);
    ASSERT_EQ(report.Pages.Items(0).ObjectCount(), 1);
    EXPECT_EQ(report.Pages.Items(0).PageObjects[0]->Name, "Kept");
    EXPECT_EQ(report.TemplateFileName, "before.frf");
    EXPECT_FALSE(report.LoadFailed);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(TemplateFormat, SavesThatCannotBeStoredWholeFailAndLeaveTheOldFile)
{
    QTemporaryDir dir;
    const std::string file = (dir.path() + "/t.frf").toStdString();
    TfrReport report;
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    auto& memo = page.Add<TfrMemoView>();
    memo.Name = "Memo1";
    report.SaveToFile(file);
    const std::string before = readAll(file);

    memo.Memo = {std::string(70000, 'x')};
    EXPECT_THROW(report.SaveToFile(file), TemplateSaveError);
    memo.Memo = StringList(70000, "x");
    EXPECT_THROW(report.SaveToFile(file), TemplateSaveError);
    memo.Memo.clear();
    memo.Tag = std::string(65536, 't');
    EXPECT_THROW(report.SaveToFile(file), TemplateSaveError);
    memo.Tag.clear();
    report.Information.Comment = std::string(65536, 'c');
    EXPECT_THROW(report.SaveToFile(file), TemplateSaveError);
    report.Information.Comment.clear();
    while (report.Pages.Count() <= 256) report.Pages.Add();
    report.Pages.Items(256).Add<TfrLineView>();   // an object on the 257th page
    EXPECT_THROW(report.SaveToFile(file), TemplateSaveError);
    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path().toStdString()),
                            std::filesystem::directory_iterator()),
              1);

    // A string of exactly 65535 bytes fits.
    report.Pages.Clear();
    report.Pages.Add();
    report.Information.Comment = std::string(65535, 'c');
    EXPECT_NO_THROW(report.SaveToFile(file));
    TfrReport copy;
    ASSERT_TRUE(copy.LoadFromFile(file));
    EXPECT_EQ(copy.Information.Comment.size(), 65535u);

    EXPECT_THROW(report.SaveToFile((dir.path() + "/no/such/dir/t.frf").toStdString()), TemplateFileError);
}

TEST_F(TemplateFormat, LoadFromFileOfAMissingOrEmptyFileChangesNothing)
{
    QTemporaryDir dir;
    TfrReport report;
    report.Pages.Add();
    report.Pages.Items(0).Add<TfrMemoView>().Name = "Memo1";
    EXPECT_FALSE(report.LoadFromFile((dir.path() + "/missing.frf").toStdString()));
    EXPECT_EQ(report.TemplateFileName, "Untitled");
    const std::string empty = (dir.path() + "/empty.frf").toStdString();
    std::ofstream(empty).close();
    EXPECT_TRUE(report.LoadFromFile(empty));
    EXPECT_EQ(report.Pages.Items(0).ObjectCount(), 1);
    EXPECT_EQ(report.TemplateFileName, empty);
    EXPECT_TRUE(ui.shown.empty());
}

} // namespace
} // namespace pemvora::report::test
