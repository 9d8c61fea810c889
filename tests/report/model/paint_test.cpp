// Fill and frame painting on small images, pixel by pixel.

#include "report/model/engine_context.h"
#include "report/model/memo.h"

#include "tests/report/model/fixture.h"
#include "tests/support/pixels.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

using namespace pemvora;
using namespace pemvora::report;
using report::testing::kGreen;
using report::testing::kRed;
using report::testing::TinyImage;

namespace {

constexpr Color kBackground = rgb(0x12, 0x34, 0x56);   // what the image holds before painting

class PaintTest : public modeltest::ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        fresh();
    }
    // Starts again on an image of the background colour.
    void fresh() { image.emplace(80, 30, kBackground); }

    // Runs `step` on the image, in the view's device geometry.
    template <typename Paint>
    void paint(TfrView& view, Paint&& step)
    {
        view.canvas = &image->canvas();
        struct Detach {
            TfrView& view;
            ~Detach() { view.canvas = nullptr; }
        } detach{view};
        DeviceGeometry device(view);
        step();
    }

    Color at(int x, int y) { return image->at(x, y); }
    void keep(const char* name) { image->saveSample(name); }

    std::optional<TinyImage> image;
};

TEST_F(PaintTest, TransparentFillIsWhiteInTheDesignerAndUntouchedWhenRunning)
{
    TfrMemoView memo;
    memo.PlaceAt(2, 2, 10, 8);
    ASSERT_EQ(memo.FillColor, kNoColor);

    paint(memo, [&] { memo.PaintFill(); });
    keep("fill_design");
    // Design mode fills PaintRect: (2, 2) to (12, 10) inclusive.
    EXPECT_EQ(at(2, 2), kWhite);
    EXPECT_EQ(at(12, 10), kWhite);
    EXPECT_EQ(at(13, 10), kBackground);
    EXPECT_EQ(at(12, 11), kBackground);
    EXPECT_EQ(at(1, 2), kBackground);

    fresh();
    engine().Running = 1;
    paint(memo, [&] { memo.PaintFill(); });
    EXPECT_EQ(image->ink(kBackground), Rect{});

    // A real colour at run time covers the object, Left .. Left + Width - 1.
    memo.FillColor = kGreen;
    paint(memo, [&] { memo.PaintFill(); });
    EXPECT_EQ(at(2, 2), kGreen);
    EXPECT_EQ(at(11, 9), kGreen);
    EXPECT_EQ(at(12, 9), kBackground);

    // Nothing at all during the measuring pass.
    fresh();
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
        EXPECT_EQ(at(5, y), kRed);     // first dash: 18 pixels
        EXPECT_EQ(at(22, y), kRed);
        EXPECT_EQ(at(23, y), kBackground);    // gap of 6, untouched under a transparent fill
        EXPECT_EQ(at(28, y), kBackground);
        EXPECT_EQ(at(29, y), kRed);
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
    const std::pair<int, Color> rows[] = {
        {8, kBackground}, {9, kRed},  {10, kRed}, {11, kGreen},
        {12, kGreen}, {13, kRed}, {14, kRed}, {15, kBackground},
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
        EXPECT_EQ(at(x, y), kBlack) << x << "," << y;
    for (auto [x, y] : {std::pair{14, 5}, {10, 9}, {26, 5}, {30, 9}, {20, 5}, {20, 15}})
        EXPECT_EQ(at(x, y), kBackground) << x << "," << y;

    // Running: no marks; only the right and bottom lines, as FrameTyp says.
    fresh();
    engine().Running = 1;
    memo.FrameTyp = frame::Right | frame::Bottom;
    paint(memo, [&] { memo.PaintBorder(); });
    EXPECT_EQ(at(30, 5), kRed);
    EXPECT_EQ(at(30, 14), kRed);
    EXPECT_EQ(at(10, 15), kRed);
    EXPECT_EQ(at(29, 15), kRed);
    EXPECT_EQ(at(10, 5), kBackground);
    EXPECT_EQ(at(20, 5), kBackground);

    // Running without frame lines draws nothing at all.
    fresh();
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
    EXPECT_EQ(at(7, 10), kRed);    // left line
    EXPECT_EQ(at(8, 10), kRed);
    EXPECT_EQ(at(9, 10), kGreen);    // fill
    EXPECT_EQ(at(27, 10), kRed);   // right line at 28: 27..28
    EXPECT_EQ(at(28, 10), kRed);
    EXPECT_EQ(at(29, 10), kBackground);
    EXPECT_EQ(at(6, 10), kBackground);
}

TEST_F(PaintTest, APaintThatThrowsLeavesTheTemplateGeometry)
{
    engine().Running = 1;
    TfrMemoView memo;
    memo.PlaceAt(2, 2, 10, 5);
    memo.GapX = 3;
    memo.GapY = 2;
    memo.FrameWidth = 2;
    memo.FrameTyp = frame::All;
    memo.FillColor = kGreen;
    memo.DeviceScaleX = memo.DeviceScaleY = 2.0;
    memo.DeviceOffsetX = 4;
    const auto geometry = [&] {
        return std::tuple(memo.Left, memo.Top, memo.Width, memo.Height, memo.GapX, memo.GapY, memo.FrameWidth);
    };
    EXPECT_THROW(paint(memo,
                       [&] {
                           memo.PaintFill();
                           EXPECT_EQ(memo.Left, 8);   // drawing in device geometry
                           throw std::runtime_error("the canvas failed");
                       }),
                 std::runtime_error);
    EXPECT_EQ(at(9, 6), kGreen);   // the fill before the failure, at device scale
    EXPECT_EQ(geometry(), std::tuple(2, 2, 10, 5, 3, 2, 2.0f));
    EXPECT_EQ(memo.canvas, nullptr);
}

} // namespace
