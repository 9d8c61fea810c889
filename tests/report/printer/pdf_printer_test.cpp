// The PDF-file printer, read back with poppler's tools: the page size of a
// custom paper, the position of a Chinese text, and the faces the Windows
// families resolve to in PDF and in PNG output.

#include "report/canvas/fontmap.h"
#include "report/canvas/painter_canvas.h"
#include "report/printer/printing_context.h"
#include "report/printer/qt_printer.h"

#include "platform/text/gbk.h"
#include "tests/support/test_pictures.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pemvora::report {
namespace {

std::string gbk(const char* utf8) { return text::utf8ToGbk(utf8); }

// Output of a poppler tool, or nullopt when it is not installed.
std::optional<QString> runTool(const QString& tool, const QStringList& args)
{
    if (QStandardPaths::findExecutable(tool).isEmpty()) return std::nullopt;
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

constexpr double kPointsPerMm = 72.0 / 25.4;

class PdfPrinter : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        file_ = dir_.filePath("cheque.pdf");
        resetPrinting(std::make_unique<PdfPrinterBackend>(file_));
    }
    void TearDown() override { resetPrinting(std::make_unique<VirtualPrinterBackend>()); }

    // Prints one page of the given paper with `draw`, at 600 pixels per inch.
    void printPage(int size, int width, int height, const std::function<void(Canvas&)>& draw)
    {
        TfrPrinter& p = printing().printer();
        PagePaper page;
        ApplyPaper(p, page, size, width, height, 0, kDefaultBin);
        PrinterBackend& backend = printing().backend();
        ASSERT_TRUE(backend.beginJob("test", 1, false));
        draw(backend.beginPage());
        backend.endJob();
    }

    QTemporaryDir dir_;
    QString file_;
};

TEST_F(PdfPrinter, IsAPrinterBesideTheVirtualOne)
{
    const TfrPrinter& p = printing().printer();
    EXPECT_EQ(p.PrinterNames, (std::vector<std::string>{"PDF file", "Virtual printer"}));
    EXPECT_EQ(p.PrinterIndex, 0);
    EXPECT_EQ(p.PaperCount, 67);
    EXPECT_EQ(printing().defaultPaperSize(), kA4);
    TfrPageMetrics m;
    p.FillPageMetrics(m);
    // A4 at 600 DPI with no unprintable border; the PDF page is a whole number
    // of points wide (595 pt), a hair under 210 mm.
    EXPECT_EQ(m.DevPaperWidth, 4958);
    EXPECT_EQ(m.DevPaperHeight, 7017);
    EXPECT_EQ(m.DevOffsetX, 0);
    EXPECT_EQ(m.PaperWidth, 757);
    EXPECT_EQ(m.PrintWidth, 757);
}

TEST_F(PdfPrinter, CustomPaperAndChineseTextComeBackWhereTheyWereDrawn)
{
    const std::string cheque = gbk("转账支票");
    printPage(kCustomPaper, 1750, 800, [&](Canvas& c) {
        EXPECT_EQ(c.dpiY(), 600);
        EXPECT_TRUE(c.isPrinter());
        Font f;
        f.name = gbk("宋体");
        f.height = fontPixelHeight(12, c.dpiY());
        c.setFont(f);
        c.setBackgroundMode(BackgroundMode::Transparent);
        c.textOut(600, 300, cheque);   // 72 pt, 36 pt from the page's corner
    });
    EXPECT_EQ(printing().printer().PaperSize, kCustomPaper);

    const auto info = runTool("pdfinfo", {file_});
    if (!info) GTEST_SKIP() << "pdfinfo is not installed (poppler-utils)";
    const QRegularExpressionMatch size =
        QRegularExpression(R"re(Page size:\s+([\d.]+) x ([\d.]+) pts)re").match(*info);
    ASSERT_TRUE(size.hasMatch()) << info->toStdString();
    EXPECT_NEAR(size.captured(1).toDouble() / kPointsPerMm, 175.0, 0.5);
    EXPECT_NEAR(size.captured(2).toDouble() / kPointsPerMm, 80.0, 0.5);

    const auto words = runTool("pdftotext", {"-bbox", file_, "-"});
    if (!words) GTEST_SKIP() << "pdftotext is not installed (poppler-utils)";
    const QRegularExpressionMatch word =
        QRegularExpression(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">转账[支⽀]票</word>)re")
            .match(*words);
    // Qt writes the text's Unicode from the font's character map, where 支 and
    // the Kangxi radical ⽀ share a glyph; either comes back.
    ASSERT_TRUE(word.hasMatch()) << words->toStdString();
    EXPECT_NEAR(word.captured(1).toDouble(), 72.0, 1.0);   // left edge
    EXPECT_NEAR(word.captured(2).toDouble(), 36.0, 1.0);   // top of the text's cell
    EXPECT_NEAR(word.captured(3).toDouble() - word.captured(1).toDouble(), 4 * 12.0, 1.0);   // four 12 pt characters
}

TEST_F(PdfPrinter, WindowsFamiliesUseTheMappedFacesInPdfAndPng)
{
    const auto draw = [](Canvas& c, int scale) {
        Font song;
        song.name = gbk("宋体");
        song.height = 20 * scale;
        c.setBackgroundMode(BackgroundMode::Transparent);
        c.setFont(song);
        c.textOut(4 * scale, 4 * scale, gbk("壹万元整"));
        Font arial;
        arial.name = "Arial";
        arial.height = 20 * scale;
        c.setFont(arial);
        c.textOut(4 * scale, 34 * scale, "Amount 1234.50");
    };
    printPage(kA4, 0, 0, [&](Canvas& c) { draw(c, 6); });
    if (const auto path = testsupport::testPicturePath("font_mapping.pdf")) QFile::copy(file_, *path);
    const auto fonts = runTool("pdffonts", {file_});
    if (!fonts) GTEST_SKIP() << "pdffonts is not installed (poppler-utils)";
    EXPECT_TRUE(fonts->contains("NotoSerifCJK")) << fonts->toStdString();
    EXPECT_TRUE(fonts->contains("LiberationSans")) << fonts->toStdString();
    EXPECT_FALSE(fonts->contains("DejaVu")) << fonts->toStdString();

    // On an image the Windows names draw exactly what the mapped faces draw.
    auto render = [&](const char* songFamily, const char* latinFamily) {
        QImage image(200, 64, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterCanvas c(painter, 96, 96, Rect{0, 0, 200, 64});
        Font f;
        f.name = songFamily;
        f.height = 20;
        c.setBackgroundMode(BackgroundMode::Transparent);
        c.setFont(f);
        c.textOut(4, 4, gbk("壹万元整"));
        f.name = latinFamily;
        c.setFont(f);
        c.textOut(4, 34, "Amount 1234.50");
        return image;
    };
    const QImage windowsNames = render(gbk("宋体").c_str(), "Arial");
    const QImage installedFaces = render("Noto Serif CJK SC", "Liberation Sans");
    const QImage otherFaces = render("Noto Sans CJK SC", "DejaVu Sans");
    EXPECT_EQ(windowsNames, installedFaces);
    EXPECT_NE(windowsNames, otherFaces);
    if (const auto path = testsupport::testPicturePath("font_mapping.png")) windowsNames.scaled(800, 256).save(*path);
}

} // namespace
} // namespace pemvora::report
