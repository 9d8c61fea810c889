// Backspace and Delete on the shortest numbers, where the first digit, the
// units cell and the cell before the number lie next to each other or coincide.

#include "controls/amountgrid/amounteditmodel.h"

#include "tests/controls/edit_fixture.h"

#include <gtest/gtest.h>

namespace pemvora::amountgrid {
namespace {

using namespace testing;

// Ten cells, two decimals: the units cell is 7, the decimals 8 and 9.
// 5.25 shows 5 in cell 7 (its first digit is the units digit, the cell before
// it is 6); 42.25 shows 4 2 in cells 6 and 7 (the cell before it is 5).
TEST(AmountEditCaret, DeletingAtBothEndsOfOneAndTwoDigitNumbers) {
    struct Case { const char* value; int caret; int key; const char* after; int caretAfter; };
    const Case cases[] = {
        // One integer digit.
        {"5.25", 6, Qt::Key_Backspace, "5.25", 7},    // before the number: only moves right
        {"5.25", 7, Qt::Key_Backspace, "0.25", 7},    // on the first digit, which is the units digit: stays
        {"5.25", 8, Qt::Key_Backspace, "5.5", 8},     // first decimal: its own digit goes
        {"5.25", 9, Qt::Key_Backspace, "5.5", 8},     // last cell: the digit left of it goes
        {"5.25", 7, Qt::Key_Delete, "0.25", 7},
        {"5.25", 8, Qt::Key_Delete, "5.5", 8},
        {"5.25", 9, Qt::Key_Delete, "5.2", 9},
        // Two integer digits.
        {"42.25", 5, Qt::Key_Backspace, "42.25", 6},  // before the number: only moves right
        {"42.25", 6, Qt::Key_Backspace, "2.25", 7},   // on the first digit: it goes, towards the units
        {"42.25", 7, Qt::Key_Backspace, "2.25", 7},   // units: the 4 left of it goes
        {"42.25", 8, Qt::Key_Backspace, "42.5", 8},
        {"42.25", 9, Qt::Key_Backspace, "42.5", 8},
        {"42.25", 6, Qt::Key_Delete, "2.25", 7},
        {"42.25", 7, Qt::Key_Delete, "4.25", 7},      // the 4 moves into the units cell
        {"42.25", 9, Qt::Key_Delete, "42.2", 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " caret " + std::to_string(c.caret) +
                     (c.key == Qt::Key_Backspace ? " Backspace" : " Delete"));
        EditFixture<> f;
        f.model.setValue(amount(c.value));
        f.model.focusIn();
        while (f.model.caret() > c.caret) f.key(Qt::Key_Left);
        while (f.model.caret() < c.caret) f.key(Qt::Key_Right);
        ASSERT_EQ(f.model.caret(), c.caret);
        EXPECT_EQ(f.key(c.key), KeyResult::Handled);
        EXPECT_EQ(f.model.value(), amount(c.after));
        EXPECT_EQ(f.model.caret(), c.caretAfter);
    }
}

}  // namespace
}  // namespace pemvora::amountgrid
