// Device scaling, hit regions and band alignment.

#include "report/model/band_runtime.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/page.h"

#include "tests/report/model/fixture.h"

#include <gtest/gtest.h>

using namespace pemvora;
using namespace pemvora::report;

namespace {

using GeometryTest = modeltest::ModelFixture;

TEST_F(GeometryTest, DeviceGeometryScalesGapsAndFrameAndPutsThemBackAtTheEnd)
{
    struct Case {
        const char* what;
        int running;
        double scale;
        int offsetX, offsetY;
        float frameWidth;
        std::uint16_t frameTyp;
        int left, top, width, height, gapX, gapY;
        Rect paintRect;
        float scaledFrame;
    };
    const Case cases[] = {
        // w 1 at scale 2: a1 = b1 = Round(0.5) = 0, a2 = b2 = 1; GapY grows by b2 div 2 = 0.
        {"no frame lines", 1, 2.0, 10, 20, 1.0f, 0, 20, 32, 100, 40, 5, 2, {20, 32, 121, 73}, 2.0f},
        {"all frame lines", 1, 2.0, 10, 20, 1.0f, frame::All, 20, 32, 100, 40, 5, 2, {20, 32, 120, 72}, 2.0f},
        // w 4 at scale 2: a1 = b1 = Round(3.5) = 4, a2 = b2 = 4: GapX grows by 4, GapY by 2.
        {"wide frame", 1, 2.0, 0, 0, 4.0f, frame::All, 10, 12, 100, 40, 8, 4, {14, 16, 107, 49}, 8.0f},
        // Design mode ignores the scales: w 3, a2 = Round(1.5) = 2 and b2 div 2 = 1.
        {"design mode", 0, 3.0, 7, 7, 3.0f, frame::Left | frame::Top, 5, 6, 50, 20, 4, 2, {6, 7, 56, 27}, 3.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        engine().Running = c.running;
        TfrMemoView view;
        view.PlaceAt(5, 6, 50, 20);
        view.FrameWidth = c.frameWidth;
        view.FrameTyp = c.frameTyp;
        view.DeviceScaleX = view.DeviceScaleY = c.scale;
        view.DeviceOffsetX = c.offsetX;
        view.DeviceOffsetY = c.offsetY;

        {
            DeviceGeometry device(view);
            EXPECT_EQ((std::array{view.Left, view.Top, view.Width, view.Height}),
                      (std::array{c.left, c.top, c.width, c.height}));
            EXPECT_EQ(view.GapX, c.gapX);
            EXPECT_EQ(view.GapY, c.gapY);
            EXPECT_EQ(view.FrameWidth, c.scaledFrame);
            EXPECT_EQ(view.PaintRect, c.paintRect);
        }
        EXPECT_EQ((std::array{view.Left, view.Top, view.Width, view.Height, view.GapX, view.GapY}),
                  (std::array{5, 6, 50, 20, 2, 1}));
        EXPECT_EQ(view.FrameWidth, c.frameWidth);
    }
}

TEST_F(GeometryTest, NestedDeviceGeometryScalesOnceAndTheOutermostRestores)
{
    engine().Running = 1;
    TfrMemoView view;
    view.PlaceAt(5, 6, 50, 20);
    view.DeviceScaleX = view.DeviceScaleY = 2.0;
    {
        DeviceGeometry outer(view);
        {
            DeviceGeometry inner(view);
            EXPECT_EQ((std::array{view.Left, view.Top, view.Width, view.Height}), (std::array{10, 12, 100, 40}));
        }
        EXPECT_EQ((std::array{view.Left, view.Top, view.Width, view.Height}), (std::array{10, 12, 100, 40}));
    }
    EXPECT_EQ((std::array{view.Left, view.Top, view.Width, view.Height}), (std::array{5, 6, 50, 20}));
}

TEST_F(GeometryTest, HitRegionsGrowByTheFrameLinesThatAreSet)
{
    struct Case {
        const char* what;
        float width;
        int style;
        std::uint16_t lines;
        bool widened;
        Rect expected;
    };
    const Case cases[] = {
        {"no lines", 3.0f, penstyle::Solid, 0, false, {10, 20, 41, 61}},
        {"thin frame", 1.0f, penstyle::Solid, frame::All, false, {10, 20, 41, 61}},
        {"width 3", 3.0f, penstyle::Solid, frame::All, false, {8, 18, 42, 62}},
        {"width 3, left line only", 3.0f, penstyle::Dash, frame::Left, false, {8, 20, 41, 61}},
        {"double width 2", 2.0f, penstyle::Double, frame::All, false, {7, 17, 43, 63}},
        {"widened", 1.0f, penstyle::Solid, frame::All, true, {0, 10, 51, 71}},
    };
    for (const Case& c : cases) {
        TfrMemoView view;
        view.PlaceAt(10, 20, 30, 40);
        view.FrameWidth = c.width;
        view.FrameStyle = static_cast<std::uint16_t>(c.style);
        view.FrameTyp = c.lines;
        const HitRegion region = view.CreateHitRegion(c.widened);
        ASSERT_EQ(region.size(), 1u) << c.what;
        EXPECT_EQ(region.front(), c.expected) << c.what;
    }

    TfrLineView vertical;
    vertical.PlaceAt(10, 20, 0, 50);
    vertical.FrameWidth = 3;
    EXPECT_EQ(vertical.CreateHitRegion(false).front(), (Rect{9, 20, 12, 71}));
    vertical.FrameWidth = 2;
    vertical.FrameStyle = penstyle::Double;
    EXPECT_EQ(vertical.CreateHitRegion(false).front(), (Rect{7, 20, 13, 71}));
    TfrLineView horizontal;
    horizontal.PlaceAt(10, 20, 50, 0);
    horizontal.FrameTyp = frame::Top;
    EXPECT_EQ(horizontal.CreateHitRegion(true).front(), (Rect{0, 10, 71, 31}));
    EXPECT_TRUE(regionContains(horizontal.CreateHitRegion(true), {5, 15}));
    EXPECT_FALSE(regionContains(horizontal.CreateHitRegion(false), {5, 15}));
}

// A page whose band area runs from 0 to 101.
class BandAlignTest : public GeometryTest {
protected:
    void SetUp() override
    {
        GeometryTest::SetUp();
        page.MarginsInUse = false;
        page.Paper.metrics.PaperWidth = 101;
        page.Paper.metrics.PaperHeight = 500;
        engine().CurrentPage = &page;
    }

    TfrMemoView& object(int align, int left, int top, int width, int height = 20)
    {
        auto& v = page.Add<TfrMemoView>();
        v.BandAlign = static_cast<std::uint8_t>(align);
        v.PlaceAt(left, top, width, height);
        return v;
    }
    TfrBandView& band(int k, int left, int top, int width, int height)
    {
        auto& b = page.Add<TfrBandView>();
        b.SetBandKind(k);
        b.PlaceAt(left, top, width, height);
        return b;
    }

    TfrPage page;
};

TEST_F(BandAlignTest, CenterWidthAndPlainSides)
{
    auto& centre = object(bandalign::Center, 3, 0, 50);
    centre.ApplyBandAlign(nullptr);
    EXPECT_EQ(centre.Left, 25);                       // 0 + (101 - 0 - 50) div 2
    EXPECT_EQ(engine().CurrentView, &centre);

    auto& left = object(bandalign::Left, 40, 100, 30);
    left.ApplyBandAlign(nullptr);
    EXPECT_EQ(left.Left, 0);

    auto& right = object(bandalign::Right, 10, 200, 30);
    right.ApplyBandAlign(nullptr);
    EXPECT_EQ(right.Left, 71);

    auto& width = object(bandalign::Width, 10, 300, 30);
    width.ApplyBandAlign(nullptr);
    EXPECT_EQ((std::array{width.Left, width.Width}), (std::array{0, 101}));

    auto& rest = object(bandalign::Rest, 10, 400, 30);
    rest.ApplyBandAlign(nullptr);
    EXPECT_EQ((std::array{rest.Left, rest.Width}), (std::array{0, 101}));

    page.MarginsInUse = true;
    page.Margins.Left = 20;
    page.Paper.metrics.OffsetX = 18;
    page.Paper.metrics.PrintWidth = 60;
    centre.ApplyBandAlign(nullptr);
    EXPECT_EQ(centre.Left, 20 + (78 - 20 - 50) / 2);
}

TEST_F(BandAlignTest, NeighboursOnTheSameLine)
{
    auto& leftNeighbour = object(bandalign::Left, 5, 10, 20);
    object(bandalign::Left, 30, 11, 20);          // another line
    object(bandalign::Right, 15, 10, 5);          // another alignment
    auto& rightNeighbour = object(bandalign::Right, 80, 10, 10);
    band(bandkind::MasterData, 0, 10, 101, 40).BandAlign = bandalign::Left;   // bands are never neighbours

    auto& l = object(bandalign::Left, 50, 10, 30);
    l.ApplyBandAlign(nullptr);
    EXPECT_EQ(l.Left, 25);                        // neighbour's Left + Width

    auto& r = object(bandalign::Right, 40, 10, 30);
    r.ApplyBandAlign(nullptr);
    EXPECT_EQ(r.Left, 49);                        // 80 - 30 - 1

    EXPECT_EQ(leftNeighbour.Left, 5);
    EXPECT_EQ(rightNeighbour.Left, 80);

    // Rest fills the room between the nearest neighbours.
    object(bandalign::Left, 0, 50, 20);
    object(bandalign::Right, 80, 50, 10);
    auto& rest = object(bandalign::Rest, 40, 50, 5);
    rest.ApplyBandAlign(nullptr);
    EXPECT_EQ((std::array{rest.Left, rest.Width}), (std::array{20, 60}));
}

TEST_F(BandAlignTest, LeftAlignmentNeverMakesAWidthNegative)
{
    object(bandalign::Left, 90, 10, 20);          // its right edge, 110, lies past R = 101
    auto& v = object(bandalign::Left, 95, 10, 30);
    v.ApplyBandAlign(nullptr);
    EXPECT_EQ(v.Left, 110);
    EXPECT_EQ(v.Width, 0);
}

TEST_F(BandAlignTest, DesignModeUsesTheBandUnderTheObject)
{
    band(bandkind::MasterData, 0, 100, 101, 50);
    band(bandkind::CrossData, 30, 0, 40, 400);

    auto& bottom = object(bandalign::Bottom, 10, 110, 30);
    bottom.ApplyBandAlign(nullptr);
    EXPECT_EQ(bottom.Top, 130);                    // 100 + 50 - 20
    auto& top = object(bandalign::Top, 10, 150, 30);   // on the band's bottom edge: still under it
    top.ApplyBandAlign(nullptr);
    EXPECT_EQ(top.Top, 100);

    auto& inCross = object(bandalign::Width, 35, 110, 10);
    inCross.ApplyBandAlign(nullptr);               // the cross band is the last band under it
    EXPECT_EQ((std::array{inCross.Left, inCross.Width}), (std::array{30, 40}));

    auto& nowhere = object(bandalign::Bottom, 10, 300, 30);
    nowhere.ApplyBandAlign(nullptr);
    EXPECT_EQ(nowhere.Top, 300);

    // While running, bottom and top alignment are the band engine's.
    engine().Running = 1;
    auto& running = object(bandalign::Bottom, 10, 110, 30);
    running.ApplyBandAlign(nullptr);
    EXPECT_EQ(running.Top, 110);
}

class PlainRuntimeBand : public TfrBandRuntime {
public:
    void OpenDataSource(const std::string&) override {}
    bool Eof() override { return true; }
    void First() override {}
    void Next() override {}
    void Prior() override {}
    bool HasDataSource() const override { return false; }
};

TEST_F(BandAlignTest, WhileRunningBandObjectsCompareWithTheTopWithinTheirBand)
{
    engine().Running = 1;
    PlainRuntimeBand current, holder;
    current.Top = 100;
    holder.IsObjectHolder = true;
    engine().CurrentBand = &current;

    auto& inBand = object(bandalign::Left, 5, 10, 20);
    inBand.RuntimeBand = &current;
    auto& outside = object(bandalign::Left, 30, 10, 20);
    outside.RuntimeBand = &holder;

    auto& v = object(bandalign::Left, 60, 110, 30);   // printed at the band's top + 10
    v.ApplyBandAlign(nullptr);
    EXPECT_EQ(v.Left, 25);

    auto& widthInBand = object(bandalign::Width, 10, 200, 30);
    widthInBand.ApplyBandAlign(nullptr);
    EXPECT_EQ((std::array{widthInBand.Left, widthInBand.Width}), (std::array{10, 30}));
    engine().CurrentBand = nullptr;
    widthInBand.ApplyBandAlign(nullptr);
    EXPECT_EQ((std::array{widthInBand.Left, widthInBand.Width}), (std::array{0, 100}));
}

TEST_F(BandAlignTest, NothingMovesWithoutACurrentPage)
{
    auto& v = object(bandalign::Center, 3, 0, 50);
    engine().CurrentPage = nullptr;
    v.ApplyBandAlign(nullptr);
    EXPECT_EQ(v.Left, 3);
    EXPECT_EQ(engine().CurrentView, &v);
}

TEST_F(BandAlignTest, ReapplyBandAlignVisitsEveryAlignedObject)
{
    TfrPages pages;
    TfrPage& p = pages.Items(pages.Add());
    p.MarginsInUse = false;
    p.Paper.metrics.PaperWidth = 101;
    auto& aligned = p.Add<TfrMemoView>();
    aligned.BandAlign = bandalign::Center;
    aligned.PlaceAt(0, 0, 50, 10);
    auto& plain = p.Add<TfrMemoView>();
    plain.PlaceAt(3, 0, 50, 10);
    pages.ReapplyBandAlign();
    EXPECT_EQ(aligned.Left, 25);
    EXPECT_EQ(plain.Left, 3);
    EXPECT_EQ(engine().CurrentPage, &page);
}

} // namespace
