// The drawing layer: the raster rules report objects rely on, checked pixel by
// pixel on tiny images.

#include "tests/support/pixels.h"
#include "report/canvas/fontmap.h"
#include "report/canvas/recording_canvas.h"

#include "platform/text/gbk.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

namespace pemvora::report {
namespace {

using testing::kGreen;
using testing::kRed;
using testing::kYellow;
using testing::TinyImage;

std::string gbk(const char* utf8) { return text::utf8ToGbk(utf8); }

TEST(Canvas, AreasLeaveOutTheirRightAndBottomEdge)
{
    TinyImage img(8, 7);
    Canvas& c = img.canvas();
    c.setBrush({kRed, BrushStyle::Solid});
    c.fillRect({1, 1, 5, 4});
    EXPECT_EQ(img.row(0, 0, 8), "........");
    EXPECT_EQ(img.row(1, 0, 8), ".rrrr...");
    EXPECT_EQ(img.row(3, 0, 8), ".rrrr...");
    EXPECT_EQ(img.row(4, 0, 8), "........");

    TinyImage box(8, 7);
    box.canvas().setPen({kBlack, 1, PenStyle::Solid});
    box.canvas().setBrush({kRed, BrushStyle::Solid});
    box.canvas().rectangle({1, 1, 6, 5});
    EXPECT_EQ(box.row(0, 0, 8), "........");
    EXPECT_EQ(box.row(1, 0, 8), ".#####..");
    EXPECT_EQ(box.row(2, 0, 8), ".#rrr#..");
    EXPECT_EQ(box.row(3, 0, 8), ".#rrr#..");
    EXPECT_EQ(box.row(4, 0, 8), ".#####..");
    EXPECT_EQ(box.row(5, 0, 8), "........");

    // A clear brush leaves the inside alone; a clear pen fills one pixel less.
    TinyImage hollow(8, 7, kGreen);
    hollow.canvas().setBrush({kNoColor, BrushStyle::Solid});
    hollow.canvas().rectangle({1, 1, 6, 5});
    hollow.canvas().fillRect({0, 0, 8, 7});
    EXPECT_EQ(hollow.row(2, 0, 8), "g#ggg#gg");
    TinyImage penless(8, 7);
    penless.canvas().setPen({kBlack, 1, PenStyle::Clear});
    penless.canvas().setBrush({kRed, BrushStyle::Solid});
    penless.canvas().rectangle({1, 1, 6, 5});
    EXPECT_EQ(penless.row(1, 0, 8), ".rrrr...");
    EXPECT_EQ(penless.row(4, 0, 8), "........");
}

TEST(Canvas, LinesLeaveOutTheirLastPixel)
{
    struct Case {
        Point from, to;
        std::vector<Point> drawn;
        Point leftOut;
    };
    const std::vector<Case> cases = {
        {{1, 1}, {5, 1}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}, {5, 1}},
        {{5, 3}, {1, 3}, {{5, 3}, {4, 3}, {3, 3}, {2, 3}}, {1, 3}},
        {{2, 0}, {2, 4}, {{2, 0}, {2, 1}, {2, 2}, {2, 3}}, {2, 4}},
        {{0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}, {3, 3}},
    };
    for (const Case& k : cases) {
        TinyImage img(7, 6);
        img.canvas().line(k.from.x, k.from.y, k.to.x, k.to.y);
        int black = 0;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 7; ++x) black += img.at(x, y) == kBlack;
        EXPECT_EQ(black, int(k.drawn.size())) << k.to.x << "," << k.to.y;
        for (Point p : k.drawn) EXPECT_EQ(img.at(p.x, p.y), kBlack) << p.x << "," << p.y;
        EXPECT_EQ(img.at(k.leftOut.x, k.leftOut.y), kWhite);
    }
    // A polyline closes its corners: each segment draws the pixel the previous one left out.
    TinyImage poly(6, 6);
    poly.canvas().moveTo(1, 1);
    poly.canvas().lineTo(4, 1);
    poly.canvas().lineTo(4, 4);
    EXPECT_EQ(poly.row(1, 0, 6), ".####.");
    EXPECT_EQ(poly.column(4, 0, 6), ".###..");
}

TEST(Canvas, DashStylesHaveFixedPixelPatterns)
{
    struct Case {
        PenStyle style;
        const char* pixels;
    };
    const Case cases[] = {
        {PenStyle::Solid, "##############################"},
        {PenStyle::Dash, "##################......######"},
        {PenStyle::Dot, "###...###...###...###...###..."},
        {PenStyle::DashDot, "#########......###......######"},
        {PenStyle::DashDotDot, "#########...###...###...######"},
    };
    for (const Case& k : cases) {
        // Transparent background: the gaps keep what was there.
        TinyImage img(32, 3, kGreen);
        img.canvas().setPen({kBlack, 1, k.style});
        img.canvas().setBackgroundMode(BackgroundMode::Transparent);
        img.canvas().line(0, 1, 30, 1);
        std::string expected = k.pixels;
        for (char& ch : expected) ch = ch == '.' ? 'g' : ch;
        EXPECT_EQ(img.row(1, 0, 30), expected) << int(k.style);
        EXPECT_EQ(img.at(30, 1), kGreen);

        // Opaque background: the gaps take the background (the brush colour).
        TinyImage opaque(32, 3, kGreen);
        opaque.canvas().setBrush({kRed, BrushStyle::Solid});
        opaque.canvas().setPen({kBlack, 1, k.style});
        opaque.canvas().line(0, 1, 30, 1);
        expected = k.pixels;
        for (char& ch : expected) ch = ch == '.' ? 'r' : ch;
        EXPECT_EQ(opaque.row(1, 0, 30), expected) << int(k.style);
        opaque.saveSample(("dash_style_" + std::to_string(int(k.style))).c_str());
    }
    // Drawn the other way and downwards, the pattern starts at the first point.
    TinyImage up(3, 32);
    up.canvas().setPen({kBlack, 1, PenStyle::Dot});
    up.canvas().setBackgroundMode(BackgroundMode::Transparent);
    up.canvas().line(1, 29, 1, 0);
    EXPECT_EQ(up.column(1, 0, 30), "...###...###...###...###...###");
}

// A line from a damaged file may run for a billion pixels: only what can be
// seen is walked, and the dash pattern still stands where the whole line puts it.
TEST(Canvas, LinesFarLongerThanTheDeviceAreCutToIt)
{
    constexpr int kFar = 1 << 30;
    TinyImage dotted(32, 3, kGreen);
    dotted.canvas().setPen({kBlack, 1, PenStyle::Dot});
    dotted.canvas().setBackgroundMode(BackgroundMode::Transparent);
    dotted.canvas().line(-600000, 1, kFar, 1);   // 600000 is a whole number of dot periods
    EXPECT_EQ(dotted.row(1, 0, 30), "###ggg###ggg###ggg###ggg###ggg");

    TinyImage diagonal(12, 12);
    diagonal.canvas().setPen({kBlack, 1, PenStyle::Solid});
    diagonal.canvas().line(-kFar, -kFar, kFar, kFar);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(diagonal.at(i, i), kBlack) << i;
        if (i > 0) EXPECT_NE(diagonal.at(i - 1, i), kBlack) << i;
    }

    // Wholly outside what can be seen: nothing drawn.
    TinyImage outside(12, 12);
    outside.canvas().setPen({kBlack, 3, PenStyle::Solid});
    outside.canvas().line(-kFar, 40, kFar, 40);
    outside.canvas().line(-kFar, kFar, kFar, -kFar + 100);
    EXPECT_EQ(outside.row(11, 0, 12), "............");
}

TEST(Canvas, WidePensAreSolidAndCentred)
{
    TinyImage img(12, 9);
    img.canvas().setPen({kBlack, 3, PenStyle::Dash});   // a wide dashed pen draws solid
    img.canvas().line(1, 4, 10, 4);
    EXPECT_EQ(img.column(5, 0, 9), "...###...");
    EXPECT_EQ(img.row(4, 0, 12), ".#########..");

    TinyImage even(12, 9);
    even.canvas().setPen({kBlack, 2, PenStyle::Solid});
    even.canvas().line(4, 1, 4, 8);
    EXPECT_EQ(even.row(4, 0, 12), "...##.......");
}

TEST(Canvas, ClipRectangleBoundsAllDrawing)
{
    TinyImage img(8, 6);
    Canvas& c = img.canvas();
    c.setClipRect(Rect{2, 1, 5, 4});
    EXPECT_TRUE(c.isVisible({4, 3, 10, 10}));
    EXPECT_FALSE(c.isVisible({5, 0, 8, 6}));
    c.setBrush({kRed, BrushStyle::Solid});
    c.fillRect({0, 0, 8, 6});
    c.line(0, 2, 8, 2);
    EXPECT_EQ(img.row(0, 0, 8), "........");
    EXPECT_EQ(img.row(1, 0, 8), "..rrr...");
    EXPECT_EQ(img.row(2, 0, 8), "..###...");
    EXPECT_EQ(img.row(4, 0, 8), "........");
    c.setClipRect(std::nullopt);
    c.line(0, 5, 8, 5);
    EXPECT_EQ(img.row(5, 0, 8), "########");

    // A painter that already clips (a paint event's region) keeps doing so.
    QImage image(8, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setClipRect(QRect(0, 0, 4, 3));
    PainterCanvas clipped(painter, 96, 96, Rect{0, 0, 8, 3});
    clipped.setClipRect(Rect{2, 0, 8, 3});
    clipped.line(0, 1, 8, 1);
    clipped.setClipRect(std::nullopt);
    clipped.line(0, 2, 8, 2);
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(2, 1), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(4, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(3, 2), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(4, 2), qRgb(255, 255, 255));
    EXPECT_FALSE(clipped.isVisible({5, 0, 8, 3}));
    EXPECT_TRUE(clipped.isVisible({3, 0, 8, 3}));
}

// Text metrics of the canvas's current font, measured the way Qt does.
QFontMetrics metricsOf(const Font& f) { return QFontMetrics(toQFont(f, 0)); }

TEST(Canvas, TextIsDrawnFromTheTopOfItsCell)
{
    for (const char* family : {"Arial", "宋体"}) {
        Font f;
        f.name = gbk(family);
        f.height = 20;
        TinyImage img(60, 60);
        img.canvas().setBackgroundMode(BackgroundMode::Transparent);
        img.canvas().setFont(f);
        img.canvas().textOut(5, 10, gbk("H"));
        const Rect ink = img.ink();
        const int ascent = metricsOf(f).ascent();
        EXPECT_GT(ink.top, 10) << family;                // nothing above the cell
        EXPECT_LE(ink.top, 10 + ascent - 12) << family;  // the H is 13-15 px tall
        EXPECT_EQ(ink.bottom, 10 + ascent) << family;    // resting on the baseline
        EXPECT_GE(ink.left, 5) << family;
        img.saveSample(family == std::string("Arial") ? "text_top_arial" : "text_top_songti");
    }
}

TEST(Canvas, OpaqueTextFillsItsCell)
{
    Font f;
    f.height = 13;
    TinyImage img(60, 30);
    Canvas& c = img.canvas();
    c.setFont(f);
    c.setBrush({kYellow, BrushStyle::Solid});
    c.textOut(4, 3, "ab");
    const Size extent = c.textExtent("ab");
    EXPECT_EQ(img.at(4, 3), kYellow);
    EXPECT_EQ(img.at(4 + extent.width - 1, 3 + extent.height - 1), kYellow);
    EXPECT_EQ(img.at(4 + extent.width, 3), kWhite);
    EXPECT_EQ(img.at(4, 3 + extent.height), kWhite);
    EXPECT_EQ(img.at(3, 3), kWhite);

    // textRect with an opaque background fills the whole clip and draws inside it only.
    TinyImage clipped(60, 30);
    clipped.canvas().setFont(f);
    clipped.canvas().setBrush({kYellow, BrushStyle::Solid});
    clipped.canvas().textRect({10, 5, 20, 25}, 12, 8, "WWWW");
    const Rect ink = clipped.ink();
    EXPECT_EQ(ink, (Rect{10, 5, 20, 25}));
    EXPECT_EQ(clipped.at(10, 5), kYellow);
}

TEST(Canvas, CharSpacingAndJustificationMoveCharacters)
{
    Font f;
    f.height = 16;
    TinyImage probe(10, 10);
    probe.canvas().setFont(f);
    const int plain = probe.canvas().textWidth("AB");
    probe.canvas().setCharSpacing(3);
    EXPECT_EQ(probe.canvas().textWidth("AB"), plain + 6);   // after every character

    auto rightInk = [&](int spacing, int extra, int breaks, const char* s) {
        TinyImage img(120, 30);
        img.canvas().setBackgroundMode(BackgroundMode::Transparent);
        img.canvas().setFont(f);
        img.canvas().setCharSpacing(spacing);
        img.canvas().setTextJustification(extra, breaks);
        img.canvas().textOut(2, 2, s);
        return img.ink().right;
    };
    EXPECT_EQ(rightInk(5, 0, 0, "II"), rightInk(0, 0, 0, "II") + 5);
    EXPECT_EQ(rightInk(0, 10, 1, "I I"), rightInk(0, 0, 0, "I I") + 10);
    EXPECT_EQ(rightInk(0, 7, 2, "I I I"), rightInk(0, 0, 0, "I I I") + 7);

    // An underline runs unbroken under the whole run, spacing included.
    TinyImage underlined(120, 30);
    Font u = f;
    u.style = kFontUnderline;
    underlined.canvas().setBackgroundMode(BackgroundMode::Transparent);
    underlined.canvas().setFont(u);
    underlined.canvas().setCharSpacing(6);
    underlined.canvas().textOut(2, 2, "I I");
    const int width = underlined.canvas().textWidth("I I");
    const Rect ink = underlined.ink();
    EXPECT_EQ(ink.left, 2);
    EXPECT_EQ(ink.right, 2 + width);
    EXPECT_EQ(underlined.row(ink.bottom - 1, 2, 2 + width), std::string(std::size_t(width), '#'));
}

TEST(Canvas, TurnedTextReadsUpwardFromItsOrigin)
{
    Font f;
    f.height = 20;
    f.angle = 90;
    TinyImage img(60, 90);
    Canvas& c = img.canvas();
    c.setBackgroundMode(BackgroundMode::Transparent);
    c.setFont(f);
    c.textOut(10, 70, "HHH");
    const Rect ink = img.ink();
    const int width = c.textWidth("HHH");
    EXPECT_GT(ink.left, 10);                 // the cell's top faces left
    EXPECT_LE(ink.right, 10 + c.fontCellHeight());
    EXPECT_LE(ink.bottom, 70);               // the text runs up from y
    EXPECT_GE(ink.top, 70 - width);
    EXPECT_GT(ink.height(), ink.width());
    img.saveSample("text_turned", 4);
}

TEST(Canvas, FontHeightsAndColours)
{
    EXPECT_EQ(fontPixelHeight(10, 96), 13);
    EXPECT_EQ(fontPixelHeight(9, 96), 12);
    EXPECT_EQ(fontPixelHeight(10, 600), 83);
    EXPECT_EQ(resolveColor(rgb(1, 2, 3)), rgb(1, 2, 3));
    EXPECT_EQ(resolveColor(kNoColor), kWhite);
    const QColor face = QGuiApplication::palette().color(QPalette::Active, QPalette::Button);
    EXPECT_EQ(resolveColor(systemColor(15)), rgb(face.red(), face.green(), face.blue()));
    EXPECT_EQ(resolveColor(systemColor(6)), kBlack);   // window frame: the classic value

    TinyImage img(4, 4);
    img.canvas().setBrush({systemColor(15), BrushStyle::Solid});
    img.canvas().fillRect({0, 0, 4, 4});
    EXPECT_EQ(img.at(2, 2), rgb(face.red(), face.green(), face.blue()));
}

TEST(FontMap, WindowsFamiliesResolveToInstalledFacesOfTheirKind)
{
    struct Case {
        const char* family;
        QStringList acceptable;
    };
    const std::vector<Case> cases = {
        {"宋体", {"Noto Serif CJK SC", "AR PL UMing CN"}},
        {"SimSun", {"Noto Serif CJK SC", "AR PL UMing CN"}},
        {"仿宋", {"Noto Serif CJK SC", "AR PL UMing CN"}},
        {"楷体", {"AR PL UKai CN", "Noto Serif CJK SC"}},
        {"隶书", {"Noto Serif CJK SC", "AR PL UMing CN"}},
        {"黑体", {"Noto Sans CJK SC", "WenQuanYi Zen Hei"}},
        {"SimHei", {"Noto Sans CJK SC", "WenQuanYi Zen Hei"}},
        {"Arial", {"Liberation Sans"}},
        {"Times New Roman", {"Liberation Serif"}},
        {"Courier New", {"Liberation Mono"}},
    };
    for (const Case& k : cases) {
        const QString resolved = resolveFontFamily(QString::fromUtf8(k.family));
        EXPECT_TRUE(k.acceptable.contains(resolved)) << k.family << " -> " << resolved.toStdString();
        Font f;
        f.name = gbk(k.family);
        EXPECT_EQ(QFontInfo(toQFont(f, 0)).family(), resolved) << k.family;
    }
    // The character set outweighs the face name: Arial asked for in GB2312 is the Song face.
    Font arialGb;
    arialGb.name = "Arial";
    arialGb.charset = kGb2312Charset;
    EXPECT_EQ(familyForFont(arialGb), resolveFontFamily(QString::fromUtf8("宋体")));
    arialGb.charset = kAnsiCharset;
    EXPECT_EQ(familyForFont(arialGb), "Liberation Sans");
    Font songGb;
    songGb.name = gbk("黑体");
    songGb.charset = kGb2312Charset;
    EXPECT_EQ(familyForFont(songGb), resolveFontFamily(QString::fromUtf8("黑体")));

    // Metric compatibility: "Hello" in Arial is 2278/1000 em wide.
    Font arial;
    arial.height = 100;
    TinyImage img(4, 4);
    img.canvas().setFont(arial);
    EXPECT_NEAR(img.canvas().textWidth("Hello"), 228, 1);
}

TEST(RecordingCanvas, LogsTextLinesAndRectanglesInOrder)
{
    TinyImage img(80, 40);
    RecordingCanvas rec(img.canvas());
    Font f;
    f.name = gbk("宋体");
    f.height = 13;
    rec.setFont(f);
    rec.setPen({kRed, 2, PenStyle::Dash});
    rec.line(1, 1, 30, 1);
    rec.setBrush({kYellow, BrushStyle::Solid});
    rec.fillRect({0, 20, 5, 25});
    rec.textRect({2, 2, 40, 20}, 3, 4, gbk("支票"));
    ASSERT_EQ(rec.records().size(), 3u);
    EXPECT_TRUE(std::holds_alternative<RecordedLine>(rec.records()[0]));
    const RecordedLine line = rec.lines().at(0);
    EXPECT_EQ(line.from, (Point{1, 1}));
    EXPECT_EQ(line.to, (Point{30, 1}));
    EXPECT_EQ(line.pen.width, 2);
    EXPECT_EQ(rec.rects().at(0).kind, RecordedRect::Kind::Fill);
    const RecordedText text = rec.texts().at(0);
    EXPECT_EQ(text.text, gbk("支票"));
    EXPECT_EQ(text.font.name, gbk("宋体"));
    const Size extent = img.canvas().textExtent(gbk("支票"));
    EXPECT_EQ(text.box, (Rect{3, 4, 3 + extent.width, 4 + extent.height}));
    EXPECT_EQ(text.clip, (Rect{2, 2, 40, 20}));
    EXPECT_EQ(img.at(1, 1), kRed);   // passed on to the image canvas
    EXPECT_EQ(img.at(2, 21), kYellow);

    // On its own it measures at 96 DPI and records a turned text's turned cell.
    RecordingCanvas alone;
    EXPECT_EQ(alone.dpiY(), 96);
    f.angle = 90;
    alone.setFont(f);
    alone.textOut(10, 50, gbk("支票"));
    const Rect box = alone.texts().at(0).box;
    EXPECT_EQ(box, (Rect{10, 50 - alone.textWidth(gbk("支票")), 10 + alone.fontCellHeight(), 50}));
}

} // namespace
} // namespace pemvora::report
