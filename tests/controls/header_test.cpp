#include "controls/amountgrid/currencyheader.h"

#include "tests/controls/fixed_measure.h"

#include <gtest/gtest.h>

namespace pemvora::amountgrid {
namespace {

using testing::FixedMeasure;

QStringList captionTexts(const HeaderPicture& pic) {
    QStringList out;
    for (const auto& c : pic.captions) out << c.text;
    return out;
}

TEST(GridGeometry, FittedCellsLeaveTheLeftoverAtTheLeftEdge) {
    GridStyle style;
    // Edit controls: the client width, no frame.
    GridGeometry edit(style, 145, 0);
    EXPECT_EQ(edit.cellWidth(), 13);
    EXPECT_EQ(edit.leftover(), 6);
    EXPECT_EQ(edit.cellLeft(0), 6);
    EXPECT_EQ(edit.cellLeft(9) + edit.cellWidth(), 145);
    // Header with the sunken frame: two pixels a side.
    GridGeometry header(style, 145, 2);
    EXPECT_EQ(header.cellWidth(), 13);
    EXPECT_EQ(header.leftover(), 2);
    EXPECT_EQ(header.cellLeft(0), 4);
    EXPECT_EQ(header.cellLeft(9) + header.cellWidth(), 143);
}

TEST(GridGeometry, SeparatorColoursMarkThousandsAndTheDecimalPoint) {
    GridStyle style;
    GridGeometry g(style, 145, 0);
    ASSERT_EQ(g.separators().size(), 9u);
    const QColor silver(0xC0, 0xC0, 0xC0), black(0, 0, 0), red(0xFF, 0, 0);
    const QColor expected[] = {silver, black, silver, silver, black, silver, silver, red, silver};
    for (int i = 1; i <= 9; ++i) {
        const Separator& s = g.separators()[i - 1];
        EXPECT_EQ(s.x, i * 14 + 6 - 1) << i;
        EXPECT_EQ(s.color, expected[i - 1]) << i;
    }
    EXPECT_EQ(g.cellAt(g.separators()[0].x), -1);
    EXPECT_EQ(g.cellAt(5), -1);  // leftover strip
    EXPECT_EQ(g.cellAt(6), 0);
    EXPECT_EQ(g.cellAt(144), 9);
}

TEST(GridGeometry, FixedCellWidthSetsTheWidthAndNoCellsMeansNothingToDivide) {
    GridStyle style;
    style.cellWidth = 20;
    style.gridLineWidth = 2;
    GridGeometry g(style, 145, 1);
    EXPECT_EQ(g.width(), 10 * 20 + 9 * 2 + 2);
    EXPECT_EQ(g.leftover(), 0);
    style.digitalNumber = 0;
    style.decimalNumber = 0;
    style.cellWidth = -1;
    GridGeometry empty(style, 145, 2);
    EXPECT_EQ(empty.cellCount(), 0);
    EXPECT_TRUE(empty.separators().empty());
}

TEST(CurrencyHeader, DefaultCaptionsReadFromThousandsOfTenThousandsToFen) {
    CurrencyHeader h;
    FixedMeasure m;
    HeaderPicture pic = h.picture({145, 25}, m);
    EXPECT_EQ(pic.frame, HeaderFrame::Sunken);
    EXPECT_EQ(captionTexts(pic), QStringList({"千", "百", "十", "万", "千", "百", "十", "元", "角", "分"}));
    // Centred: (13 - 12) div 2 = 0 into the cell; t = ((25 - 4 - 13) div 2) + 1 = 5.
    EXPECT_EQ(pic.captions[0].pos, QPoint(4, 2 + 5));
    EXPECT_EQ(pic.captions[0].clip, QRect(4, 2, 13, 21));
    // Decimal captions one pixel further right and lower.
    EXPECT_EQ(pic.captions[8].pos, QPoint(4 + 8 * 14 + 1, 2 + 5 + 1));

    // Fifteen cells with thirteen captions: the first two cells stay empty.
    h.setDigitalNumber(15);
    pic = h.picture({300, 25}, m);
    EXPECT_EQ(captionTexts(pic).first(), "万");
    EXPECT_EQ(pic.captions.size(), 15u);
}

TEST(CurrencyHeader, CaptionPlacementFollowsLayoutAndMeasuredCaption) {
    FixedMeasure m;
    m.heights["元"] = 11;
    m.heights["角"] = 17;
    // A 1-pixel frame in a 25-pixel header leaves 23 rows; 元 is 11 high, 角 17.
    struct Case { TextLayout layout; bool integerCaptions; int y; };
    const Case cases[] = {
        {TextLayout::Top, true, 1},      // on the frame's inner edge
        {TextLayout::Centre, true, 8},   // half of the 12 rows left over above it, then one lower
        {TextLayout::Bottom, true, 13},  // its last row on the frame's inner bottom edge (row 23)
        // No integer captions: the first decimal caption is measured (and
        // decimal captions sit one pixel lower).
        {TextLayout::Centre, false, 6},  // half of the 6 rows left over, one lower, and the decimal's one
        {TextLayout::Bottom, false, 8},  // rows 7 to 23 as measured, and the decimal's one lower
    };
    for (const Case& c : cases) {
        CurrencyHeader h;
        h.setCtl3D(false);
        h.setTextLayout(c.layout);
        if (!c.integerCaptions) h.setDigitalSymbols({});
        HeaderPicture pic = h.picture({145, 25}, m);
        ASSERT_FALSE(pic.captions.empty());
        EXPECT_EQ(pic.frameWidth, 1);
        EXPECT_EQ(pic.captions.size(), c.integerCaptions ? 10u : 2u);
        EXPECT_EQ(pic.captions[0].pos.y(), c.y) << int(c.layout) << c.integerCaptions;
    }
    CurrencyHeader none;
    none.setDigitalSymbols({});
    none.setDecimalSymbols({});
    EXPECT_TRUE(none.picture({145, 25}, m).captions.empty());
}

TEST(CurrencyHeader, CountsAreAcceptedOnlyWhenTheyFitEachOther) {
    CurrencyHeader h;
    EXPECT_FALSE(h.setDigitalNumber(1));  // below the 2 decimals
    EXPECT_TRUE(h.setDecimalNumber(10));  // all cells decimal is allowed here
    EXPECT_FALSE(h.setDecimalNumber(11));
    EXPECT_FALSE(h.setDecimalNumber(-1));
    EXPECT_EQ(h.digitalNumber(), 10);
    EXPECT_EQ(h.decimalNumber(), 10);
    EXPECT_EQ(h.frameWidth(), 2);
    h.setBorderStyle(BorderStyle::None);
    EXPECT_EQ(h.frameWidth(), 0);
}

}  // namespace
}  // namespace pemvora::amountgrid
