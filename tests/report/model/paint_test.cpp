// Fill and frame painting on small images, pixel by pixel.

#include "report/canvas/painter_canvas.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"

#include <QImage>
#include <QPainter>

#include "tests/report/model/fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace pemvora;
using namespace pemvora::report;

namespace {

constexpr QRgb kBackground = 0xFF123456;   // what the image holds before painting
constexpr Color kRed = 0x0000FF;           // report colours: red in the lowest byte
constexpr Color kGreen = 0x00FF00;

class PaintTest : public modeltest::ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        image = QImage(80, 30, QImage::Format_ARGB32);
        image.fill(kBackground);
    }
    // Runs `paint` between ApplyDeviceScale and RestoreGeometry on the image.
    template <typename Paint>
    void paint(TfrView& view, Paint&& step)
    {
        QPainter painter(&image);
        auto canvas = PainterCanvas::forImage(painter, image);
        view.canvas = canvas.get();
        view.ApplyDeviceScale();
        step();
        view.RestoreGeometry();
        view.canvas = nullptr;
    }

    QRgb at(int x, int y) const { return image.pixel(x, y); }

    // Writes the image when PEMVORA_WRITE_PNG names a folder, for a person to look at.
    void keep(const char* name) const
    {
        if (const char* dir = std::getenv("PEMVORA_WRITE_PNG"))
            image.scaled(image.width() * 8, image.height() * 8).save(QString(dir) + "/" + name + ".png");
    }

    QImage image;
};

TEST_F(PaintTest, TransparentFillIsWhiteInTheDesignerAndUntouchedWhenRunning)
{
    TfrMemoView memo;
    memo.PlaceAt(2, 2, 10, 8);
    ASSERT_EQ(memo.FillColor, kNoColor);

    paint(memo, [&] { memo.PaintFill(); });
    keep("fill_design");
    // Design mode fills PaintRect: (2, 2) to (12, 10) inclusive.
    EXPECT_EQ(at(2, 2), 0xFFFFFFFFu);
    EXPECT_EQ(at(12, 10), 0xFFFFFFFFu);
    EXPECT_EQ(at(13, 10), kBackground);
    EXPECT_EQ(at(12, 11), kBackground);
    EXPECT_EQ(at(1, 2), kBackground);

    image.fill(kBackground);
    engine().Running = 1;
    paint(memo, [&] { memo.PaintFill(); });
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ASSERT_EQ(at(x, y), kBackground) << x << "," << y;

    // A real colour at run time covers the object, Left .. Left + Width - 1.
    memo.FillColor = kGreen;
    paint(memo, [&] { memo.PaintFill(); });
    EXPECT_EQ(at(2, 2), 0xFF00FF00u);
    EXPECT_EQ(at(11, 9), 0xFF00FF00u);
    EXPECT_EQ(at(12, 9), kBackground);

    // Nothing at all during the measuring pass.
    image.fill(kBackground);
    engine().MeasuringPass = true;
    paint(memo, [&] { memo.PaintFill(); memo.PaintBorder(); });
    EXPECT_EQ(at(2, 2), kBackground);
}

TEST_F(PaintTest, WideDashedFrameIsThreeDashedOnePixelLines)
{
    engine().Running = 1;
    TfrMemoView memo;
    memo.PlaceAt(5, 10, 60, 10);
    memo.FrameTyp = frame::Top;
    memo.FrameWidth = 3;
    memo.FrameStyle = penstyle::Dash;
    memo.FrameColor = kRed;
    paint(memo, [&] { memo.PaintBorder(); });
    keep("frame_dash3");

    for (int y : {9, 10, 11}) {
        SCOPED_TRACE(y);
        EXPECT_EQ(at(5, y), 0xFFFF0000u);     // first dash: 18 pixels
        EXPECT_EQ(at(22, y), 0xFFFF0000u);
        EXPECT_EQ(at(23, y), kBackground);    // gap of 6, untouched under a transparent fill
        EXPECT_EQ(at(28, y), kBackground);
        EXPECT_EQ(at(29, y), 0xFFFF0000u);
    }
    EXPECT_EQ(at(5, 8), kBackground);
    EXPECT_EQ(at(5, 12), kBackground);
}

TEST_F(PaintTest, DoubleFrameOfWidthTwo)
{
    engine().Running = 1;
    TfrMemoView memo;
    memo.PlaceAt(5, 12, 60, 10);
    memo.FrameTyp = frame::Top;
    memo.FrameWidth = 2;
    memo.FrameStyle = penstyle::Double;
    memo.FrameColor = kRed;
    memo.FillColor = kGreen;
    paint(memo, [&] { memo.PaintBorder(); });
    keep("frame_double2");

    // Ideal line y = 12; lines of width 2 (offsets -1..0) at 12 - 2 and 12 + 2,
    // the fill colour on the ideal line itself.
    const std::pair<int, QRgb> rows[] = {
        {8, kBackground}, {9, 0xFFFF0000u},  {10, 0xFFFF0000u}, {11, 0xFF00FF00u},
        {12, 0xFF00FF00u}, {13, 0xFFFF0000u}, {14, 0xFFFF0000u}, {15, kBackground},
    };
    for (const auto& [y, colour] : rows) {
        EXPECT_EQ(at(5, y), colour) << "row " << y;
        EXPECT_EQ(at(64, y), colour) << "row " << y;
        EXPECT_EQ(at(65, y), kBackground) << "row " << y;
    }
}

TEST_F(PaintTest, FrameLinesFollowTheirBitsAndTheDesignerMarksTheCorners)
{
    TfrMemoView memo;
    memo.PlaceAt(10, 5, 20, 10);
    memo.FrameColor = kRed;
    paint(memo, [&] { memo.PaintBorder(); });
    keep("corners_design");
    // Top-left: 3 pixels down, 4 across; top-right: 3 across, 4 down.
    for (auto [x, y] : {std::pair{10, 5}, {13, 5}, {10, 8}, {27, 5}, {30, 5}, {30, 8}, {10, 15}, {30, 15}})
        EXPECT_EQ(at(x, y), 0xFF000000u) << x << "," << y;
    for (auto [x, y] : {std::pair{14, 5}, {10, 9}, {26, 5}, {30, 9}, {20, 5}, {20, 15}})
        EXPECT_EQ(at(x, y), kBackground) << x << "," << y;

    // Running: no marks; only the right and bottom lines, as FrameTyp says.
    image.fill(kBackground);
    engine().Running = 1;
    memo.FrameTyp = frame::Right | frame::Bottom;
    paint(memo, [&] { memo.PaintBorder(); });
    EXPECT_EQ(at(30, 5), 0xFFFF0000u);
    EXPECT_EQ(at(30, 14), 0xFFFF0000u);
    EXPECT_EQ(at(10, 15), 0xFFFF0000u);
    EXPECT_EQ(at(29, 15), 0xFFFF0000u);
    EXPECT_EQ(at(10, 5), kBackground);
    EXPECT_EQ(at(20, 5), kBackground);

    // Running without frame lines draws nothing at all.
    image.fill(kBackground);
    memo.FrameTyp = 0;
    paint(memo, [&] { memo.PaintBorder(); });
    EXPECT_EQ(at(10, 5), kBackground);
    EXPECT_EQ(at(30, 15), kBackground);
}

TEST_F(PaintTest, PaintingAtDeviceScaleMovesAndWidensTheFrame)
{
    engine().Running = 1;
    TfrMemoView memo;
    memo.PlaceAt(2, 2, 10, 5);
    memo.FrameTyp = frame::All;
    memo.FrameColor = kRed;
    memo.FillColor = kGreen;
    memo.DeviceScaleX = memo.DeviceScaleY = 2.0;
    memo.DeviceOffsetX = 4;
    memo.DeviceOffsetY = 1;
    paint(memo, [&] { memo.PaintFill(); memo.PaintBorder(); });
    keep("scaled_frame");
    // Object from (8, 5) to R = 28, B = 15; pen width 2 covers offsets -1..0.
    EXPECT_EQ(at(7, 10), 0xFFFF0000u);    // left line
    EXPECT_EQ(at(8, 10), 0xFFFF0000u);
    EXPECT_EQ(at(9, 10), 0xFF00FF00u);    // fill
    EXPECT_EQ(at(27, 10), 0xFFFF0000u);   // right line at 28: 27..28
    EXPECT_EQ(at(28, 10), 0xFFFF0000u);
    EXPECT_EQ(at(29, 10), kBackground);
    EXPECT_EQ(at(6, 10), kBackground);
}

} // namespace
