// Fill and frame painting on small images, pixel by pixel.

#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/canvas/frameline.h"

#include "tests/report/model/fixture.h"
#include "tests/support/pixels.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>
#include <stdexcept>

using namespace pemvora;
using namespace pemvora::report;
using report::testing::kGreen;
using report::testing::kRed;
using report::testing::kYellow;
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

// Dashed and double frame lines, drawn by the drawing layer alone and as the
// top edge of a text object's frame. Pixels as text: '.' white, '#' black,
// 'r' red, 'g' green, 'y' yellow.
TEST_F(PaintTest, DashedAndDoubleFrameLinesPixelByPixel)
{
    struct Probe {
        enum { Row, Column } along;
        int at, from, to;          // row y (or column x) from `from` to `to`, exclusive
        const char* pixels;
    };
    struct Case {
        const char* sample;        // the name a kept picture gets
        int width, height;
        Color background;
        std::function<void(TinyImage&)> draw;
        std::vector<Probe> probes;
    };
    // The top edge of a text object at (5, y) 60 wide, painted while running.
    const auto topEdge = [](int y, int width, std::uint16_t style, Color fill) {
        return [=](TinyImage& img) {
            engine().Running = 1;
            TfrMemoView memo;
            memo.PlaceAt(5, y, 60, 10);
            memo.FrameTyp = frame::Top;
            memo.FrameWidth = static_cast<float>(width);
            memo.FrameStyle = style;
            memo.FrameColor = kRed;
            memo.FillColor = fill;
            memo.canvas = &img.canvas();
            {
                DeviceGeometry device(memo);
                memo.PaintBorder();
            }
            memo.canvas = nullptr;
        };
    };
    const std::string dash18gap6 = std::string(18, '#') + std::string(6, 'g') + std::string(6, '#');
    const std::string redDash = std::string(18, 'r') + std::string(6, 'g') + std::string(6, 'r');
    const Case cases[] = {
        // Wide dashed lines are parallel one-pixel dashed lines of 18 on, 6 off.
        {"frame_dash_width3", 34, 11, kGreen,
         [](TinyImage& img) { drawFrameLine(img.canvas(), {2, 5}, {32, 5}, {kBlack, kNoColor, 3, PenStyle::Dash}); },
         {{Probe::Row, 3, 2, 32, "gggggggggggggggggggggggggggggg"},
          {Probe::Row, 4, 2, 32, dash18gap6.c_str()},
          {Probe::Row, 5, 2, 32, dash18gap6.c_str()},
          {Probe::Row, 6, 2, 32, dash18gap6.c_str()},
          {Probe::Row, 7, 2, 32, "gggggggggggggggggggggggggggggg"}}},
        // With a fill colour the gaps take it; a vertical edge is offset sideways.
        {"frame_dot_width3_filled", 9, 34, kWhite,
         [](TinyImage& img) { drawFrameLine(img.canvas(), {4, 0}, {4, 30}, {kBlack, kRed, 3, PenStyle::Dot}); },
         {{Probe::Row, 1, 0, 9, "...###..."}, {Probe::Row, 4, 0, 9, "...rrr..."}, {Probe::Row, 30, 0, 9, "........."}}},
        // Even widths put the extra line before the ideal line.
        {"frame_dash_width2", 9, 34, kWhite,
         [](TinyImage& img) { drawFrameLine(img.canvas(), {4, 0}, {4, 30}, {kBlack, kNoColor, 2, PenStyle::Dash}); },
         {{Probe::Row, 1, 0, 9, "...##...."}}},
        // A text object's dashed top edge of width 3 on rows 9 to 11; the gaps
        // stay untouched under a transparent fill.
        {"frame_dash3", 80, 30, kGreen, topEdge(10, 3, penstyle::Dash, kNoColor),
         {{Probe::Row, 8, 5, 35, "gggggggggggggggggggggggggggggg"},
          {Probe::Row, 9, 5, 35, redDash.c_str()},
          {Probe::Row, 10, 5, 35, redDash.c_str()},
          {Probe::Row, 11, 5, 35, redDash.c_str()},
          {Probe::Row, 12, 5, 35, "gggggggggggggggggggggggggggggg"}}},
        // Double: two lines of the width at -width and +width around a line in
        // the fill colour on the ideal line.
        {"frame_double_width2", 12, 20, kGreen,
         [](TinyImage& img) { drawFrameLine(img.canvas(), {1, 10}, {11, 10}, {kBlack, kRed, 2, PenStyle::Double}); },
         {{Probe::Column, 5, 5, 15, "gg##rr##gg"}}},
        {"frame_double_width1", 12, 20, kGreen,
         [](TinyImage& img) { drawFrameLine(img.canvas(), {1, 10}, {11, 10}, {kBlack, kRed, 1, PenStyle::Double}); },
         {{Probe::Column, 5, 7, 14, "gg#r#gg"}, {Probe::Row, 9, 0, 12, "g##########g"}}},
        // Without a fill colour the middle keeps what was there.
        {"frame_double_width1_clear", 12, 20, kGreen,
         [](TinyImage& img) { drawFrameLine(img.canvas(), {3, 1}, {3, 19}, {kBlack, kNoColor, 1, PenStyle::Double}); },
         {{Probe::Row, 5, 0, 6, "gg#g#g"}}},
        // A text object's double top edge of width 2 at y = 12: lines of
        // width 2 (offsets -1..0) at 10 and 14, the fill on rows 11 and 12;
        // the last pixel of the edge (x = 65) is left out.
        {"frame_double2", 80, 30, kGreen, topEdge(12, 2, penstyle::Double, kYellow),
         {{Probe::Column, 5, 8, 16, "grryyrrg"},
          {Probe::Column, 64, 8, 16, "grryyrrg"},
          {Probe::Column, 65, 8, 16, "gggggggg"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sample);
        TinyImage img(c.width, c.height, c.background);
        c.draw(img);
        img.saveSample(c.sample);
        for (const Probe& p : c.probes) {
            EXPECT_EQ(p.along == Probe::Row ? img.row(p.at, p.from, p.to) : img.column(p.at, p.from, p.to), p.pixels)
                << (p.along == Probe::Row ? "row " : "column ") << p.at;
        }
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
