#include "app/binding/datasetamountlink.h"
#include "app/data/tdata.h"
#include "controls/amountgrid/boundamounteditmodel.h"
#include "tests/app/datafixture.h"
#include "tests/controls/edit_fixture.h"

#include <gtest/gtest.h>

using namespace pemvora;
using amountgrid::Amount;
using amountgrid::BoundAmountEditModel;
using amountgrid::testing::amount;

namespace {

struct BoundToCheques : ::testing::Test {
    data::testing::TempDir dir;
    std::string path = data::testing::makeDatabase(
        dir, {"INSERT INTO ZPJE (ZPJE, date, zphm, lb, yh_h, yt_h, dw_h) VALUES (2045.67, '2008-03-05', 'A1', 2, 1, 1, 1)",
              "INSERT INTO ZPJE (ZPJE, date, zphm, lb, yh_h, yt_h, dw_h) VALUES (NULL, '2008-03-06', 'A2', 1, 1, 1, 1)"});
    data::TData data{path};
    app::DatasetAmountLink link{data.ZPJE, "ZPJE"};
    amountgrid::testing::EditFixture<BoundAmountEditModel> control;

    BoundToCheques() { control.model.setFieldLink(&link); }
};

} // namespace

TEST_F(BoundToCheques, ShowsTheCurrentChequeAndFollowsTheCursor)
{
    EXPECT_EQ(control.model.value(), amount("2045.67"));
    data.ZPJE.next();
    EXPECT_EQ(control.model.value(), Amount());   // no value shows as 0
    data.ZPJE.first();
    EXPECT_EQ(control.model.value(), amount("2045.67"));
}

TEST_F(BoundToCheques, FirstDigitEntersEditModeEscRestoresLeavingWrites)
{
    // The caret starts on the units cell: a digit typed there grows the
    // integer part like a calculator, 2045 -> 20459.
    control.model.focusIn();
    EXPECT_EQ(data.ZPJE.state(), data::DatasetState::Browse);
    control.model.typeDigit(9);
    EXPECT_EQ(data.ZPJE.state(), data::DatasetState::Edit);
    EXPECT_EQ(control.model.value(), amount("20459.67"));
    control.model.keyDown(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_EQ(control.model.value(), amount("2045.67"));
    EXPECT_DOUBLE_EQ(data.ZPJE.value("ZPJE").toNumber(), 2045.67);

    control.model.typeDigit(1);
    control.model.focusOut();
    EXPECT_DOUBLE_EQ(data.ZPJE.value("ZPJE").toNumber(), 20451.67);
    data.ZPJE.post();
    data::TData reopened(path);
    EXPECT_DOUBLE_EQ(reopened.ZPJE.value("ZPJE").toNumber(), 20451.67);
}
