// Pictures, lines, bands and sub-report boxes drawn on small images, pixel by pixel.

#include "report/model/engine_context.h"
#include "report/model/objects.h"
#include "report/model/page.h"

#include "tests/report/model/fixture.h"
#include "tests/support/pixels.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

namespace pemvora::report::modeltest {
namespace {

using report::testing::kGreen;
using report::testing::kRed;
using report::testing::TinyImage;

std::string encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

// A w x h picture in one colour, as a bitmap file.
std::string bitmapOf(int w, int h, QColor colour, const char* format = "BMP")
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return encoded(image, format);
}

// Text is drawn smoothed: its strokes are dark rather than exactly black.
bool dark(Color c) { return (c & 0xFF) < 0x70 && ((c >> 8) & 0xFF) < 0x70 && ((c >> 16) & 0xFF) < 0x70; }

class ObjectsPaintTest : public ModelFixture {};

struct PictureCase {
    const char* name;
    std::uint16_t flags;
    const char* row5;    // row 5 of the object's area, x 0..23
    const char* col7;    // column 7, y 0..13
};

// A 10 x 10 red picture in a 20 x 10 object without frame (PaintRect 0..20 x 0..10).
TEST_F(ObjectsPaintTest, PictureStretchedCentredAndInProportion)
{
    engine().Running = 1;
    const PictureCase cases[] = {
        {"stretched over the whole object", flag::Stretched, "rrrrrrrrrrrrrrrrrrrrr...", "rrrrrrrrrrr..."},
        {"kept in proportion at the left", flag::Stretched | flag::KeepAspect, "rrrrrrrrrr..............",
         "rrrrrrrrrrr..."},
        {"in proportion and centred", flag::Stretched | flag::KeepAspect | flag::Center, ".....rrrrrrrrrr.........",
         "rrrrrrrrrrr..."},
        {"own size at the top left", 0, "rrrrrrrrrr..............", "rrrrrrrrrr...."},
        {"own size centred", flag::Center, ".....rrrrrrrrrr.........", "rrrrrrrrrr...."},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.name);
        TinyImage image(24, 14);
        TfrPictureView picture;
        picture.PlaceAt(0, 0, 20, 10);
        picture.Flags = c.flags;
        picture.Picture = {GraphicKind::Bitmap, bitmapOf(10, 10, Qt::red)};
        picture.Paint(image.canvas());
        image.saveSample((std::string("picture_") + std::to_string(c.flags)).c_str());
        EXPECT_EQ(image.row(5, 0, 24), std::string(c.row5).substr(0, 24));
        EXPECT_EQ(image.column(7, 0, 14), c.col7);
    }
}

TEST_F(ObjectsPaintTest, PictureKindsAndDamagedData)
{
    engine().Running = 1;
    struct Case {
        const char* name;
        TfrPicture picture;
        bool drawn;
    };
    QImage icon(8, 8, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    std::string tooLarge = bitmapOf(2, 2, Qt::red);
    // A header that claims 5000 x 4000 pixels.
    tooLarge[18] = char(0x88), tooLarge[19] = char(0x13), tooLarge[22] = char(0xA0), tooLarge[23] = char(0x0F);
    const Case cases[] = {
        {"JPEG", {GraphicKind::Jpeg, bitmapOf(10, 10, Qt::red, "JPEG")}, true},
        {"icon", {GraphicKind::Icon, encoded(icon, "ICO")}, true},
        {"damaged bitmap", {GraphicKind::Bitmap, "BM not a bitmap at all"}, false},
        {"damaged JPEG", {GraphicKind::Jpeg, "\xFF\xD8\xFF garbage"}, false},
        {"more than 16 M pixels", {GraphicKind::Bitmap, tooLarge}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TinyImage image(24, 14);
        TfrPictureView picture;
        picture.PlaceAt(2, 2, 10, 10);
        picture.Picture = c.picture;
        picture.Paint(image.canvas());
        if (c.drawn) {
            // In proportion: as wide as the object (10), as high as PaintRect (11).
            EXPECT_EQ(image.ink(), (Rect{2, 2, 12, 13}));
            EXPECT_NE(image.at(7, 7), kWhite);
        } else {
            // An empty box with a thin cross: the outline and both diagonals.
            image.saveSample("picture_damaged");
            EXPECT_EQ(image.row(2, 2, 13), "###########");
            EXPECT_EQ(image.column(2, 2, 13), "###########");
            EXPECT_EQ(image.at(7, 7), kBlack);
            EXPECT_EQ(image.at(4, 4), kBlack);
            EXPECT_EQ(image.at(4, 6), kWhite);
        }
    }
}

TEST_F(ObjectsPaintTest, EmptyPictureShowsItsPlaceInTheDesignerOnly)
{
    TfrPictureView picture;
    picture.PlaceAt(0, 0, 80, 20);
    TinyImage design(90, 24);
    picture.Paint(design.canvas());
    design.saveSample("picture_empty_design", 4);
    EXPECT_NE(design.ink(), Rect{});

    engine().Running = 1;
    TinyImage run(90, 24);
    picture.Paint(run.canvas());
    EXPECT_EQ(run.ink(), Rect{});
}

TEST_F(ObjectsPaintTest, LinesInBothOrientations)
{
    engine().Running = 1;
    TinyImage image(60, 50);
    TfrLineView across;
    across.PlaceAt(5, 10, 40, 5);
    across.FrameColor = kRed;
    across.Paint(image.canvas());
    TfrLineView down;
    down.PlaceAt(50, 4, 3, 40);
    down.FrameColor = kGreen;
    down.FrameWidth = 3;
    down.Paint(image.canvas());
    image.saveSample("lines");

    // Along the top edge: x 5..44 on row 10, the height gone.
    EXPECT_EQ(across.Height, 0);
    EXPECT_EQ(across.FrameTyp, frame::Top);
    EXPECT_EQ(image.row(10, 3, 47), ".." + std::string(40, 'r') + "..");
    EXPECT_EQ(image.row(11, 5, 10), ".....");
    // Along the left edge, three pixels wide around x 50: 49..51, y 4..43.
    EXPECT_EQ(down.Width, 0);
    EXPECT_EQ(down.FrameTyp, frame::Left);
    EXPECT_EQ(image.row(20, 47, 54), "..ggg..");
    EXPECT_EQ(image.column(50, 2, 46), ".." + std::string(40, 'g') + "..");
}

class BandPaintTest : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        engine().DesignerPage = &page;
    }
    TfrPage page;
};

TEST_F(BandPaintTest, BandWithItsTitleInside)
{
    TinyImage image(120, 70);
    TfrBandView band;
    band.SetBandKind(bandkind::PageHeader);
    band.PlaceAt(30, 20, 10, 40);
    band.Paint(image.canvas());
    image.saveSample("band_title_inside", 4);

    // Across the page's printable width from the left.
    EXPECT_EQ(band.Left, 0);
    EXPECT_EQ(band.Width, page.Paper.metrics.PrintWidth);
    // Its outline in the button face colour, the title in black from (4, 22).
    const Color face = resolveColor(kBtnFace);
    EXPECT_EQ(image.at(0, 40), face);
    EXPECT_EQ(image.at(60, 20), face);
    EXPECT_EQ(image.at(60, 60), face);
    int blackInTitle = 0;
    for (int y = 22; y < 36; ++y)
        for (int x = 4; x < 90; ++x) blackInTitle += dark(image.at(x, y));
    EXPECT_GT(blackInTitle, 15);
    for (int x = 0; x < 120; ++x) EXPECT_FALSE(dark(image.at(x, 10))) << x;   // nothing above the band
}

TEST_F(BandPaintTest, TitleOnATabOutsideTheBand)
{
    engine().BandTitlesOutside = true;
    TinyImage image(140, 80);
    TfrBandView band;
    band.SetBandKind(bandkind::MasterData);
    band.PlaceAt(0, 30, 10, 40);
    band.Paint(image.canvas());
    image.saveSample("band_title_tab", 4);

    // The tab: 18 pixels above the band, 100 long ("Master data" is narrower than 92).
    const Color face = resolveColor(kBtnFace);
    EXPECT_EQ(image.at(1, 13), face);
    EXPECT_EQ(image.at(96, 28), face);
    EXPECT_EQ(image.at(99, 20), kBlack);    // its right edge
    EXPECT_EQ(image.at(101, 20), kWhite);
    int black = 0;
    for (int y = 13; y < 29; ++y)
        for (int x = 4; x < 90; ++x) black += dark(image.at(x, y));
    EXPECT_GT(black, 15);
    // The designer's hit area takes the tab in.
    const HitRegion hit = band.CreateHitRegion(false);
    EXPECT_TRUE(regionContains(hit, {50, 15}));
    EXPECT_FALSE(regionContains(hit, {120, 15}));
}

TEST_F(BandPaintTest, CrossBandTitleIsTurned)
{
    TinyImage image(60, 130);
    TfrBandView band;
    band.SetBandKind(bandkind::CrossData);
    band.PlaceAt(10, 5, 30, 10);
    band.Paint(image.canvas());
    image.saveSample("band_cross", 4);
    EXPECT_EQ(band.Top, 0);
    EXPECT_EQ(band.Height, page.Paper.metrics.PrintHeight);
    // "Cross data" written upward from (12, 94): black within x 12..26, y < 94.
    const Rect ink = [&] {
        Rect r{60, 130, 0, 0};
        for (int y = 0; y < 130; ++y)
            for (int x = 0; x < 60; ++x)
                if (dark(image.at(x, y))) {
                    r.left = std::min(r.left, x);
                    r.top = std::min(r.top, y);
                    r.right = std::max(r.right, x + 1);
                    r.bottom = std::max(r.bottom, y + 1);
                }
        return r;
    }();
    EXPECT_GE(ink.left, 12);
    EXPECT_LE(ink.right, 27);
    EXPECT_LE(ink.bottom, 95);
    EXPECT_GT(ink.height(), 2 * ink.width());   // taller than wide: turned
}

TEST_F(ObjectsPaintTest, SubReportBoxWithItsName)
{
    TinyImage image(80, 30, kGreen);
    TfrSubReportView sub;
    sub.Name = "SubReport1";
    sub.PlaceAt(2, 2, 70, 20);
    sub.Paint(image.canvas());
    image.saveSample("subreport", 4);
    EXPECT_EQ(image.row(2, 1, 74), "g" + std::string(71, '#') + "g");
    EXPECT_EQ(image.column(2, 1, 24), "g" + std::string(21, '#') + "g");
    EXPECT_EQ(image.at(60, 18), kWhite);   // white inside
    int black = 0;
    for (int y = 4; y < 16; ++y)
        for (int x = 4; x < 70; ++x) black += dark(image.at(x, y));
    EXPECT_GT(black, 15);   // the name
}

} // namespace
} // namespace pemvora::report::modeltest
