#include "controls/amountgrid/amounteditmodel.h"

#include "tests/controls/edit_fixture.h"

#include <gtest/gtest.h>

namespace pemvora::amountgrid {
namespace {

using namespace testing;
using Fixture = EditFixture<>;

TEST(AmountEdit, CellsOf145PixelsAreThirteenWideWithTheLeftoverInCellZero) {
    Fixture f;
    EditPicture pic = f.model.picture();
    ASSERT_EQ(pic.cells.size(), 10u);
    EXPECT_EQ(pic.cells[0].rect, QRect(0, 0, 19, 21));
    for (int k = 1; k < 10; ++k) EXPECT_EQ(pic.cells[k].rect, QRect(6 + 14 * k, 0, 13, 21)) << k;
    EXPECT_EQ(pic.separators.front().x, 19);
    EXPECT_EQ(pic.separators.back().x, 131);
    // Clicks: the widened cell 0 takes the leftover; a separator is no cell.
    EXPECT_EQ(f.model.cellAt(0), 0);
    EXPECT_EQ(f.model.cellAt(18), 0);
    EXPECT_EQ(f.model.cellAt(19), -1);
    EXPECT_EQ(f.model.cellAt(20), 1);
}

TEST(AmountEdit, ValueLayoutWithTheSignBeforeTheNumberOrInCellZero) {
    struct Case { const char* value; bool aligned; const char* row; };
    const Case cases[] = {
        {"5678.5", false, "___$567850"},
        {"5678.5", true, "$___567850"},
        {"0.05", false, "______$005"},
        {"1234567.5", false, "$123456750"},  // f = 1: the sign is in cell 0 either way
        {"1234567.5", true, "$123456750"},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.model.setCurrencySymbolAligned(c.aligned);
        f.model.setValue(amount(c.value));
        EXPECT_EQ(cellTexts(f.model), cells(c.row)) << c.value << " aligned " << c.aligned;
    }
}

TEST(AmountEdit, CharactersArePlacedAsWideAsZeroAndTheSignCentredInItsCell) {
    Fixture f;
    f.model.setValue(amount("5678.5"));
    EditPicture pic = f.model.picture();
    // Digits: cell left + (13 - 7) div 2; y = ((21 - 13) div 2) + 1 = 5.
    EXPECT_EQ(pic.cells[4].textPos, QPoint(6 + 4 * 14 + 3, 5));
    EXPECT_EQ(pic.cells[3].textPos, QPoint(6 + 3 * 14 + 0, 5));  // ￥ is 12 wide: (13 - 12) div 2
    f.model.setCurrencySymbolAligned(true);
    EXPECT_EQ(f.model.picture().cells[0].textPos, QPoint((19 - 12) / 2, 5));  // centred in the widened cell

    f.model.setTextLayout(TextLayout::Top);
    EXPECT_EQ(f.model.picture().cells[9].textPos.y(), 0);
    f.model.setTextLayout(TextLayout::Bottom);
    EXPECT_EQ(f.model.picture().cells[9].textPos.y(), 8);   // its 13 rows end on the last of the 21
}

TEST(AmountEdit, ZeroIsEmptyOnlyWhileNotFocused) {
    Fixture f;
    EXPECT_EQ(cellTexts(f.model), cells("__________"));
    EXPECT_EQ(f.model.picture().background, QColor(0xFF, 0xFF, 0xFF));
    f.model.focusIn();
    EXPECT_EQ(cellTexts(f.model), cells("______$000"));
    EXPECT_EQ(f.model.picture().background, QColor(0xFF, 0xFF, 0));
    f.model.focusOut();
    f.model.setZeroEmpty(false);
    EXPECT_EQ(cellTexts(f.model), cells("______$000"));
}

TEST(AmountEdit, TooLongNumbersBecomeAsterisks) {
    struct Case { const char* value; const char* symbol; const char* row; };
    const Case cases[] = {
        {"10000000", "\uFFE5", "$*********"},
        {"9999999.99", "\uFFE5", "$999999999"},
        {"9999999.995", "\uFFE5", "$*********"},  // rounds up to eight integer digits
        {"10000000", "", "1000000000"},           // without a sign the tenth cell is free
        {"100000000", "", "**********"},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.model.setCurrencySymbol(QString::fromUtf8(c.symbol));
        f.model.setValue(amount(c.value));
        EXPECT_EQ(cellTexts(f.model), cells(c.row)) << c.value;
    }
    Fixture f;
    f.model.setValue(amount("-1234567"));
    EXPECT_EQ(f.model.shownText(), "*******.**");  // the "-" takes a cell too
}

TEST(AmountEdit, TypingBuildsTheNumberLikeACalculatorAndBackspaceDeletesLeftOfTheCaret) {
    Fixture f;
    f.model.focusIn();
    EXPECT_EQ(f.model.caret(), 7);
    f.type("53.47");
    EXPECT_EQ(f.model.value(), amount("53.47"));
    EXPECT_EQ(f.model.caret(), 9);
    EXPECT_EQ(f.host.beforeChanges, 1);
    EXPECT_EQ(f.host.changes, 4);
    f.key(Qt::Key_Backspace);
    EXPECT_EQ(f.model.value(), amount("53.7"));
    EXPECT_EQ(f.model.text(), "53.70");
    EXPECT_EQ(f.model.caret(), 8);
    EXPECT_EQ(f.host.beforeChanges, 1);
    EXPECT_EQ(f.host.changes, 5);
    EXPECT_TRUE(f.model.changeBegun());
}

TEST(AmountEdit, EditingKeysFromCaretPositions) {
    // Value 5678.5 shows 5 6 7 8 in cells 4 to 7, 5 0 in cells 8 and 9.
    struct Case { int caret; int key; Qt::KeyboardModifiers mods; const char* value; int caretAfter; };
    const Case cases[] = {
        {7, Qt::Key_Backspace, Qt::NoModifier, "568.5", 7},     // deletes the 7 left of the caret
        {4, Qt::Key_Backspace, Qt::NoModifier, "678.5", 5},     // on the first digit: it goes
        {3, Qt::Key_Backspace, Qt::NoModifier, "5678.5", 4},    // left of the number: only moves
        {8, Qt::Key_Backspace, Qt::NoModifier, "5678", 8},      // first decimal: deletes its own digit
        {5, Qt::Key_Delete, Qt::NoModifier, "578.5", 6},        // deletes the 6, digits left move right
        {7, Qt::Key_Delete, Qt::NoModifier, "567.5", 7},        // on the units cell the caret stays
        {8, Qt::Key_Delete, Qt::NoModifier, "5678", 8},
        {9, Qt::Key_Delete, Qt::NoModifier, "5678.5", 9},       // the 0 goes: still 5678.50
        {9, Qt::Key_Delete, Qt::ControlModifier, "0", 7},
        {5, Qt::Key_Minus, Qt::NoModifier, "-5678.5", 5},
        {5, Qt::Key_Minus, Qt::KeypadModifier, "-5678.5", 5},
        {5, Qt::Key_Plus, Qt::ShiftModifier, "5678.5", 5},      // already positive
    };
    for (const Case& c : cases) {
        Fixture f;
        f.model.setValue(amount("5678.5"));
        f.model.focusIn();
        while (f.model.caret() > c.caret) f.key(Qt::Key_Left);
        while (f.model.caret() < c.caret) f.key(Qt::Key_Right);
        ASSERT_EQ(f.model.caret(), c.caret);
        EXPECT_EQ(f.key(c.key, c.mods), KeyResult::Handled);
        EXPECT_EQ(f.model.value(), amount(c.value)) << c.caret << " key " << c.key;
        EXPECT_EQ(f.model.caret(), c.caretAfter) << c.caret << " key " << c.key;
    }
}

TEST(AmountEdit, TypingInsertsAtTheCaretCell) {
    struct Case { int caret; int digit; const char* value; int caretAfter; };
    const Case cases[] = {
        {7, 9, "56789.5", 7},   // units: grows like a calculator
        {3, 1, "15678.5", 3},   // the cell before the number: a new first digit
        {5, 1, "56178.5", 5},   // the typed digit takes the caret cell, those left of it move left
        {8, 1, "5678.15", 9},   // decimals: overwrite, the rest move right, the last falls off
        {9, 3, "5678.53", 9},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.model.setValue(amount("5678.5"));
        f.model.focusIn();
        while (f.model.caret() > c.caret) f.key(Qt::Key_Left);
        while (f.model.caret() < c.caret) f.key(Qt::Key_Right);
        EXPECT_TRUE(f.model.typeDigit(c.digit));
        EXPECT_EQ(f.model.value(), amount(c.value)) << c.caret;
        EXPECT_EQ(f.model.caret(), c.caretAfter) << c.caret;
    }
}

TEST(AmountEdit, MinusReversesTheSignAndShowsItLeftOfTheFirstDigit) {
    Fixture f;
    f.model.setValue(amount("12.50"));
    f.model.focusIn();
    f.key(Qt::Key_Minus);
    EXPECT_EQ(f.model.value(), amount("-12.5"));
    EXPECT_EQ(cellTexts(f.model), cells("____$-1250"));
    f.model.setShowNegativeSign(false);
    EXPECT_EQ(cellTexts(f.model), cells("_____$1250"));
    f.model.setShowNegativeColor(true);
    f.model.focusOut();
    EXPECT_EQ(f.model.picture().background, QColor(0xFF, 0, 0));
    f.model.setShowNegativeFont(true);
    EXPECT_TRUE(f.model.picture().negativeFont);
    f.model.focusIn();
    f.key(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(f.model.value(), amount("12.5"));
    f.key(Qt::Key_Minus, Qt::ShiftModifier);  // that is "_", not "-"
    EXPECT_EQ(f.model.value(), amount("12.5"));
}

TEST(AmountEdit, NegativeZeroShowsNoMinusButKeepsTheSignForTyping) {
    Fixture f;
    f.model.focusIn();
    f.key(Qt::Key_Minus);
    EXPECT_EQ(f.model.sign(), -1);
    EXPECT_FALSE(f.model.isNegative());
    EXPECT_EQ(cellTexts(f.model), cells("______$000"));
    f.type("5");
    EXPECT_EQ(f.model.value(), amount("-5"));
    EXPECT_EQ(cellTexts(f.model), cells("_____$-500"));
    // A value that rounds to zero shows no "-" either.
    f.model.setValue(amount("-0.001"));
    EXPECT_EQ(f.model.shownText(), "0.00");
}

TEST(AmountEdit, MaxLengthBoundsTheIntegerDigitsTypingProduces) {
    Fixture f;
    f.model.focusIn();
    EXPECT_TRUE(f.model.setMaxLength(3));
    f.type("1234");
    EXPECT_EQ(f.model.value(), amount("123"));
    EXPECT_EQ(f.host.changes, 3);
    f.type(".45");  // the decimals are not integer digits
    EXPECT_EQ(f.model.value(), amount("123.45"));
    EXPECT_FALSE(f.model.setMaxLength(19));
    EXPECT_FALSE(f.model.setMaxLength(-1));
    EXPECT_EQ(f.model.maxLength(), 3);
}

TEST(AmountEdit, EighteenTypedDigitsSurviveExactly) {
    Fixture f;
    f.model.focusIn();
    f.type("1234567890123456789");  // the nineteenth is refused
    EXPECT_EQ(f.model.value().toString(), "123456789012345678");
    EXPECT_EQ(f.model.shownText(), "*******.**");
    f.type(".99");
    EXPECT_EQ(f.model.value().toString(), "123456789012345678.99");

    // With eighteen cells and no decimals every digit is on screen.
    Fixture wide;
    ASSERT_TRUE(wide.model.setDecimalNumber(0));
    ASSERT_TRUE(wide.model.setDigitalNumber(18));
    wide.model.setCurrencySymbol({});
    wide.model.focusIn();
    wide.type("987654321098765432");
    EXPECT_EQ(wide.model.value().toString(), "987654321098765432");
    EXPECT_EQ(wide.model.shownText(), "987654321098765432");
}

TEST(AmountEdit, CountsAreAcceptedOnlyInTheirRanges) {
    Fixture f;
    EXPECT_FALSE(f.model.setDigitalNumber(19));
    EXPECT_FALSE(f.model.setDigitalNumber(2));   // would leave no units cell
    EXPECT_TRUE(f.model.setDigitalNumber(3));
    EXPECT_FALSE(f.model.setDecimalNumber(3));
    EXPECT_TRUE(f.model.setDecimalNumber(0));
    EXPECT_TRUE(f.model.setDigitalNumber(1));
    EXPECT_EQ(f.model.unitsCell(), 0);
    f.model.setValue(amount("7"));
    f.model.setCurrencySymbol({});
    EXPECT_EQ(cellTexts(f.model), QStringList({"7"}));
}

TEST(AmountEdit, CaretKeysMoveWithinTheNumberAndHandOnWhatTheyCannotMove) {
    struct Case { int from; int key; Qt::KeyboardModifiers mods; int to; };
    // 5678.5 in ten cells: f = 4, units 7, decimals 8 and 9.
    const Case cases[] = {
        {7, Qt::Key_Home, Qt::NoModifier, 3},
        {3, Qt::Key_End, Qt::NoModifier, 9},
        {7, Qt::Key_Left, Qt::NoModifier, 6},
        {7, Qt::Key_Left, Qt::ControlModifier, 4},   // the thousands cell
        {4, Qt::Key_Left, Qt::ControlModifier, 3},   // the next group is cell 1: not beyond f - 1 = 3
        {6, Qt::Key_Left, Qt::ControlModifier, 4},
        {8, Qt::Key_Left, Qt::ControlModifier, 7},   // first decimal: to the units
        {4, Qt::Key_Right, Qt::ControlModifier, 7},
        {3, Qt::Key_Right, Qt::ControlModifier, 4},
        {7, Qt::Key_Right, Qt::ControlModifier, 8},
        {8, Qt::Key_Right, Qt::ControlModifier, 9},  // at most the last cell
        {7, Qt::Key_Period, Qt::NoModifier, 8},
        {9, Qt::Key_Period, Qt::KeypadModifier, 7},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.model.setValue(amount("5678.5"));
        f.model.focusIn();
        f.model.mousePress(f.model.geometry().cellLeft(c.from), true);
        ASSERT_EQ(f.model.caret(), c.from);
        EXPECT_EQ(f.key(c.key, c.mods), KeyResult::Handled);
        EXPECT_EQ(f.model.caret(), c.to) << c.from << " key " << c.key;
    }

    // Keys that cannot move: swallowed, or handed on with OnMoveOut.
    const int stuck[][2] = {{3, Qt::Key_Left}, {9, Qt::Key_Right}, {7, Qt::Key_Up}, {7, Qt::Key_Down}};
    for (auto [from, key] : stuck) {
        for (bool allowed : {false, true}) {
            Fixture f;
            f.model.setValue(amount("5678.5"));
            f.model.setMoveOutAllowed(allowed);
            f.model.focusIn();
            f.model.mousePress(f.model.geometry().cellLeft(from), true);
            EXPECT_EQ(f.key(key), allowed ? KeyResult::PassedOn : KeyResult::Handled) << key;
            EXPECT_EQ(f.model.caret(), from);
            EXPECT_EQ(f.host.movedOutKeys, allowed ? std::vector<int>{key} : std::vector<int>{});
        }
    }
    Fixture f;
    EXPECT_EQ(f.key(Qt::Key_Escape), KeyResult::PassedOn);
    EXPECT_EQ(f.key(Qt::Key_A), KeyResult::PassedOn);
}

TEST(AmountEdit, ClicksPutTheCaretUnderThePointerButNotLeftOfTheNumber) {
    struct Case { bool focused; int cell; int caret; };
    const Case cases[] = {
        {false, 1, 4},  // taking the focus: not left of the first digit
        {true, 1, 3},   // already focused: not left of the cell before it
        {true, 5, 5},
        {false, 9, 9},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.model.setValue(amount("5678.5"));
        if (c.focused) {
            f.model.focusIn();
            f.key(Qt::Key_End);
        } else {
            f.model.focusIn();  // what the widget's taking the focus does first
        }
        f.model.mousePress(f.model.geometry().cellLeft(c.cell) + 2, c.focused);
        EXPECT_EQ(f.model.caret(), c.caret) << c.cell;
    }
    Fixture f;
    f.model.setValue(amount("5678.5"));
    f.model.focusIn();
    f.model.mousePress(f.model.geometry().separators()[5].x, true);
    EXPECT_EQ(f.model.caret(), 7);
}

TEST(AmountEdit, WritingTheValueFiresNothingAndStartsANewRunOfChanges) {
    Fixture f;
    f.model.focusIn();
    f.model.mousePress(f.model.geometry().cellLeft(9), true);
    f.type("1");
    EXPECT_TRUE(f.model.changeBegun());
    f.model.setValue(amount("3"));
    EXPECT_FALSE(f.model.changeBegun());
    EXPECT_EQ(f.host.beforeChanges, 1);
    EXPECT_EQ(f.host.changes, 1);
    EXPECT_EQ(f.model.caret(), 9);  // not left of the number: it stays
    f.model.setValue(amount("123456"));
    f.key(Qt::Key_Home);
    EXPECT_EQ(f.model.caret(), 1);
    f.model.setValue(amount("3"));  // the caret stood left of the new number's cell
    EXPECT_EQ(f.model.caret(), 7);
    f.type("1");
    EXPECT_EQ(f.host.beforeChanges, 2);
}

TEST(AmountEdit, ReadOnlyRefusesChangesButNotCaretMovement) {
    Fixture f;
    f.model.setValue(amount("5678.5"));
    f.model.setReadOnly(true);
    f.model.focusIn();
    EXPECT_FALSE(f.model.typeDigit(1));
    for (int key : {int(Qt::Key_Backspace), int(Qt::Key_Delete), int(Qt::Key_Minus)}) f.key(key);
    f.key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(f.model.value(), amount("5678.5"));
    EXPECT_EQ(f.host.changes, 0);
    f.key(Qt::Key_Home);
    EXPECT_EQ(f.model.caret(), 3);
}

TEST(AmountEdit, TheCaretBlinksByRepaintingOnlyItsBar) {
    Fixture f;
    f.model.setValue(amount("5678.5"));
    f.model.focusIn();
    // Caret: "0" is 7 wide, so 9 wide, centred in the units cell; at y = 13 + 5.
    const QRect bar(6 + 7 * 14 + 2, 18, 9, 2);
    EXPECT_EQ(f.model.caretRect(), bar);
    EXPECT_TRUE(f.model.picture().caretVisible);
    f.host.invalidated.clear();
    f.model.blink();
    EXPECT_FALSE(f.model.picture().caretVisible);
    f.model.blink();
    EXPECT_TRUE(f.model.caretShown());
    EXPECT_EQ(f.host.invalidated, std::vector<QRect>({bar, bar}));

    // A move repaints the old and the new bar; a change only the cells.
    f.host.invalidated.clear();
    f.key(Qt::Key_Left);
    EXPECT_EQ(f.host.invalidated, std::vector<QRect>({bar, bar.translated(-14, 0)}));
    f.host.invalidated.clear();
    f.type("1");
    for (const QRect& r : f.host.invalidated) EXPECT_TRUE(QRect(0, 0, 145, 21).contains(r));

    // The bar stays two pixels above the bottom in a low control.
    f.model.setClientSize({145, 14});
    EXPECT_EQ(f.model.caretRect().top(), 12);
    f.model.focusOut();
    EXPECT_FALSE(f.model.picture().caretVisible);
}

}  // namespace
}  // namespace pemvora::amountgrid
