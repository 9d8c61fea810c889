// The prepared-report file: its exact bytes, a save-load-save that changes
// nothing, the layouts of older files built byte by byte, the printer it
// names, and the file operations.

#include "tests/report/engine/prepared_fixture.h"
#include "tests/report/model/template_support.h"

#include "report/printer/recording_printer.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace pemvora::report::enginetest {
namespace {

using test::Bytes;

std::string bitmapBytes()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return data.toStdString();
}

// A placeable metafile header and one end record: enough bytes to carry around.
std::string metafileBytes()
{
    Bytes b;
    b.i32(0x9AC6CDD7).u16(0).u16(0).u16(0).u16(1000).u16(500).u16(1440).i32(0).u16(0);
    b.u16(1).u16(9).u16(0x300).i32(3).u16(0).i32(3).u16(0);
    b.i32(3).u16(0);
    return b.s;
}

std::string readFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PreparedFile : public PreparedFixture {
protected:
    // Three pages of different papers, margins and objects.
    void fillSample(TfrEMFPages& list)
    {
        const auto a4 = templatePage({kA4, 2100, 2970, 0, kDefaultBin}, {36, 40, 20, 30});
        const auto a5 = templatePage({11, 1480, 2100, 1, 15});
        const auto custom = templatePage({kCustomPaper, 2000, 1000, 0, kDefaultBin}, {}, true);
        list.Add(*a4);
        list.AppendObject(0, *printedText("Memo1", 30, 40, 200, 18, {"支票"}));
        TfrLineView line;
        line.Name = "Line1";
        line.PlaceAt(30, 60, 200, 0);
        list.AppendObject(0, line);
        list.Add(*a5);
        TfrPictureView picture;
        picture.Name = "Picture1";
        picture.PlaceAt(5, 5, 40, 30);
        picture.Picture = {GraphicKind::Bitmap, bitmapBytes()};
        list.AppendObject(1, picture);
        list.Add(*custom);
        list.AppendObject(2, *printedText("URL1", 0, 0, 80, 16, {"next"}));
    }
};

TEST_F(PreparedFile, AOnePageReportHasExactlyTheseBytes)
{
    pages.Add(*templatePage());
    report.GeneratorVersion = 88;

    Bytes expected;
    expected.u8(25).u8(0).str("Virtual printer").i32(1);
    const std::size_t end = expected.reserve();
    expected.u16(9).i32(2100).i32(2970).u8(0).i32(-1).u8(1).i32(0).i32(0).i32(0).i32(0);
    expected.u8(25);
    expected.patch(end);
    expected.u8(88);

    const std::string saved = pages.SaveToBytes();
    EXPECT_EQ(saved, expected.s);
    // The page block's first field is the file length less the generator byte.
    EXPECT_EQ(static_cast<std::size_t>(static_cast<unsigned char>(saved[24])), saved.size() - 1);
}

TEST_F(PreparedFile, PagesOfDifferentPapersSaveLoadAndSaveAgainUnchanged)
{
    fillSample(pages);
    report.GeneratorVersion = 91;
    const std::string first = pages.SaveToBytes();

    TfrReport other;
    TfrEMFPages& loaded = PreparedPages(other);
    loaded.LoadFromBytes(first);
    EXPECT_EQ(loaded.SaveToBytes(), first);
    EXPECT_EQ(other.GeneratorVersion, 91);
    EXPECT_EQ(other.Printer.PrinterName, "Virtual printer");

    ASSERT_EQ(loaded.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const TfrPreparedPage& a = pages.Page(i);
        const TfrPreparedPage& b = loaded.Page(i);
        EXPECT_EQ(b.Paper.size, a.Paper.size) << i;
        EXPECT_EQ(b.Paper.width, a.Paper.width) << i;
        EXPECT_EQ(b.Paper.height, a.Paper.height) << i;
        EXPECT_EQ(b.Paper.orientation, a.Paper.orientation) << i;
        EXPECT_EQ(b.Paper.bin, a.Paper.bin) << i;
        EXPECT_EQ(b.UseMargins, a.UseMargins) << i;
        EXPECT_EQ(b.Paper.metrics, a.Paper.metrics) << i;   // recomputed on loading
        EXPECT_EQ(b.Stream.data(), a.Stream.data()) << i;
    }
    EXPECT_EQ(loaded.Page(0).Margins.Left, 36);
    EXPECT_EQ(loaded.Page(1).Paper.bin, 15);
    EXPECT_EQ(loaded.Page(2).Paper.metrics.PaperWidth, 721);
    loaded.LoadPageObjects(1);
    const auto* picture = dynamic_cast<TfrPictureView*>(loaded.Page(1).PageObjects->PageObjects.at(0).get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Picture.Data, bitmapBytes());
}

TEST_F(PreparedFile, AFileOfVersion23OrOlderHasNoVersionByteBinOrMargins)
{
    Bytes old;
    old.u8(0).cstr("Virtual printer").i32(2);   // flag, printer name as the older strings are
    std::size_t end = old.reserve();
    old.u16(11).i32(1480).i32(2100).u8(0).u8(0).u8(25);
    old.patch(end);
    end = old.reserve();
    old.u16(9).i32(2100).i32(2970).u8(1).u8(1).u8(25);
    old.patch(end);
    old.u8(88);

    pages.LoadFromBytes(old.s);
    ASSERT_EQ(pages.Count(), 2);
    EXPECT_EQ(pages.Page(0).Paper.size, 11);
    EXPECT_EQ(pages.Page(0).Paper.bin, kDefaultBin);
    EXPECT_FALSE(pages.Page(0).UseMargins);
    EXPECT_EQ(pages.Page(1).Paper.orientation, 1);
    EXPECT_EQ(pages.Page(1).Paper.bin, kDefaultBin);
    EXPECT_TRUE(pages.Page(1).UseMargins);
    for (int i = 0; i < 2; ++i) {
        const PageMargins& m = pages.Page(i).Margins;
        EXPECT_EQ(m.Left + m.Top + m.Right + m.Bottom, 0);
    }
}

TEST_F(PreparedFile, TheOlderPictureLayoutBecomesOnePictureOverEachPage)
{
    const std::string metafile = metafileBytes();
    Bytes old;
    // A string list whose first line names the printer (the older encoding:
    // lines end with 13, the list with 0).
    old.raw("Virtual printer").u8(13).raw("second line").u8(0);
    old.i32(2);
    std::size_t end = old.reserve();
    old.u16(9).i32(2100).i32(2970).u8(0).u8(1).raw(metafile);
    old.patch(end);
    end = old.reserve();
    old.u16(kCustomPaper).i32(2000).i32(1000).u8(0).u8(0);   // a page without a picture
    old.patch(end);

    pages.LoadFromBytes(old.s);
    ASSERT_EQ(pages.Count(), 2);
    EXPECT_EQ(report.Printer.PrinterName, "Virtual printer");
    const TfrPreparedPage& first = pages.Page(0);
    EXPECT_EQ(first.Paper.size, kA4);
    EXPECT_EQ(first.Paper.bin, kDefaultBin);
    EXPECT_TRUE(first.UseMargins);
    EXPECT_FALSE(pages.Page(1).UseMargins);

    pages.LoadPageObjects(0);
    ASSERT_EQ(first.PageObjects->ObjectCount(), 1);
    const auto* picture = dynamic_cast<TfrPictureView*>(first.PageObjects->PageObjects[0].get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Left, 0);
    EXPECT_EQ(picture->Top, 0);
    EXPECT_EQ(picture->Width, 758);     // A4 in design pixels
    EXPECT_EQ(picture->Height, 1071);
    EXPECT_EQ(picture->Picture.Kind, GraphicKind::Metafile);
    EXPECT_EQ(picture->Picture.Data, metafile);

    pages.LoadPageObjects(1);
    const auto* blank = dynamic_cast<TfrPictureView*>(pages.Page(1).PageObjects->PageObjects.at(0).get());
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->Width, 721);
    EXPECT_TRUE(blank->Picture.IsEmpty());

    // Saved again, it is a file of the current layout with the same pages.
    TfrReport other;
    PreparedPages(other).LoadFromBytes(pages.SaveToBytes());
    EXPECT_EQ(PreparedPages(other).Page(0).Stream.data(), first.Stream.data());
}

TEST_F(PreparedFile, CompressedPagesComeOutEmptyWithoutACompressor)
{
    pages.Add(*templatePage({11, 1480, 2100, 0, kDefaultBin}));
    pages.AppendObject(0, *printedText("Memo1", 1, 1, 10, 10, {"packed"}));
    std::string bytes = pages.SaveToBytes();
    bytes[1] = 1;   // the flag of a packed file

    TfrReport other;
    TfrEMFPages& loaded = PreparedPages(other);
    loaded.LoadFromBytes(bytes);
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded.Page(0).Paper.size, 11);
    EXPECT_EQ(loaded.Page(0).Stream.data(), std::string(1, '\x19'));
}

TEST_F(PreparedFile, TheFileSelectsThePrinterItNamesUnlessTheReportKeepsTheDefault)
{
    FakePrinter office, cheques;
    office.name = "Office";
    cheques.name = "Cheques";
    resetPrinting(std::make_unique<RecordingPrinterBackend>(std::vector<FakePrinter>{office, cheques}, 0));
    pages.Add(*templatePage());
    TfrPrinter& printer = printing().printer();
    printer.SelectPrinter(1);
    const std::string onCheques = pages.SaveToBytes();
    printer.SelectPrinter(0);

    report.Printer.PrintToDefault = true;
    pages.LoadFromBytes(onCheques);
    EXPECT_EQ(printer.PrinterIndex, 0);
    EXPECT_EQ(report.Printer.PrinterName, "Cheques");

    report.Printer.PrintToDefault = false;
    pages.LoadFromBytes(onCheques);
    EXPECT_EQ(printer.PrinterIndex, 1);
}

TEST_F(PreparedFile, SavingReplacesTheFileWholeAndLoadingMarksThePagesAsNotRebuildable)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("run.frp").toStdString();
    {
        std::ofstream old(path, std::ios::binary);
        old << "an older file, longer than the new one will be..............................................";
    }
    pages.Add(*templatePage());
    SavePreparedReport(report, path);
    EXPECT_EQ(readFile(path), pages.SaveToBytes());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path().toStdString()),
                            std::filesystem::directory_iterator()),
              1);   // no temporary file left behind

    report.CanRebuild = true;
    LoadPreparedReport(report, path);
    EXPECT_FALSE(report.CanRebuild);
    EXPECT_EQ(pages.Count(), 1);

    EXPECT_THROW(SavePreparedReport(report, dir.filePath("missing/run.frp").toStdString()), PreparedReportError);
    try {
        LoadPreparedReport(report, dir.filePath("absent.frp").toStdString());
        ADD_FAILURE() << "a missing file loaded";
    } catch (const PreparedReportError& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot open file"), std::string::npos) << e.what();
    }
    EXPECT_EQ(pages.Count(), 1);
}

} // namespace
} // namespace pemvora::report::enginetest
