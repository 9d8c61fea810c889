// The widgets painted into small images, and input sent to them as events.

#include "controls/amountgrid/currencyedit.h"
#include "controls/amountgrid/currencylabel.h"

#include "tests/controls/memory_field_link.h"

#include <QApplication>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace pemvora::amountgrid {
namespace {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "test_amountgrid";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        QFont font(QStringLiteral("WenQuanYi Zen Hei"));
        font.setPixelSize(12);
        QApplication::setFont(font);
        return a;
    }();
    (void)app;
}

QImage paint(QWidget& w) {
    QImage image(w.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    w.render(&image);
    return image;
}

// Pixels in the rectangle that are not the background colour.
int ink(const QImage& image, const QRect& r, QColor background) {
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixelColor(x, y) != background) ++count;
    return count;
}

const QColor white(0xFF, 0xFF, 0xFF), black(0, 0, 0), grey(0x80, 0x80, 0x80), silver(0xC0, 0xC0, 0xC0),
    red(0xFF, 0, 0), yellow(0xFF, 0xFF, 0);

struct Widgets : ::testing::Test {
    void SetUp() override { ensureApplication(); }
};

TEST_F(Widgets, HeaderDrawsTheSunkenFrameTheLinesAndACaptionInEachCell) {
    TsncCurrencyLabel label;
    label.setColor(white);
    label.resize(145, 25);
    QImage img = paint(label);
    EXPECT_EQ(img.pixelColor(0, 0), grey);
    EXPECT_EQ(img.pixelColor(1, 1), black);
    EXPECT_EQ(img.pixelColor(144, 24), white);
    EXPECT_EQ(img.pixelColor(143, 23), silver);
    EXPECT_EQ(img.pixelColor(0, 24), white);
    // Frame 2, cells of 13 from x = 4: line i at 14 i + 3, from y = 2 to 22.
    EXPECT_EQ(img.pixelColor(17, 12), silver);
    EXPECT_EQ(img.pixelColor(31, 12), black);
    EXPECT_EQ(img.pixelColor(115, 2), red);
    EXPECT_EQ(img.pixelColor(115, 22), red);
    EXPECT_EQ(img.pixelColor(115, 1), black);  // the frame, not the line
    EXPECT_EQ(img.pixelColor(3, 12), white);   // leftover strip
    for (int k = 0; k < 10; ++k)
        EXPECT_GT(ink(img, QRect(4 + 14 * k, 2, 13, 21), white), 10) << "cell " << k;

    // Decimal captions only: the integer cells stay blank.
    label.setDigitalSymbols({});
    img = paint(label);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(ink(img, QRect(4 + 14 * k, 2, 13, 21), white), 0) << k;
    EXPECT_GT(ink(img, QRect(4 + 14 * 8, 2, 13, 21), white), 10);
}

TEST_F(Widgets, HeaderFramesAndFixedCellWidth) {
    TsncCurrencyLabel label;
    label.setColor(white);
    label.resize(145, 25);
    label.setDigitalSymbols({});
    label.setDecimalSymbols({});
    label.setCtl3D(false);
    QImage img = paint(label);
    EXPECT_EQ(img.pixelColor(0, 0), black);
    EXPECT_EQ(img.pixelColor(144, 24), black);
    EXPECT_EQ(img.pixelColor(1, 1), white);
    label.setBorderStyle(BorderStyle::None);
    img = paint(label);
    EXPECT_EQ(img.pixelColor(0, 0), white);
    label.setCellWidth(15);
    EXPECT_EQ(label.width(), 10 * 15 + 9);
    EXPECT_EQ(label.focusPolicy(), Qt::NoFocus);
}

struct EditWidget : Widgets {
    void prepare(TsncCustomCurrencyEdit& edit) {
        edit.setColor(white);
        edit.resize(149, 25);  // client 145 x 21 inside the 2-pixel sunken edge
    }
    static void focus(QWidget& w, QEvent::Type type, Qt::FocusReason reason = Qt::TabFocusReason) {
        QFocusEvent event(type, reason);
        QApplication::sendEvent(&w, &event);
    }
    static bool key(QWidget& w, int k, const QString& text = {}, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, k, m, text);
        QApplication::sendEvent(&w, &event);
        return event.isAccepted();
    }
    // Cell k of the client, in widget pixels.
    static QRect cell(int k) { return k == 0 ? QRect(2, 2, 19, 21) : QRect(2 + 6 + 14 * k, 2, 13, 21); }
};

TEST_F(EditWidget, DigitsGoIntoTheirCellsAndOnlyThere) {
    TsncCurrencyEdit edit;
    prepare(edit);
    edit.setValue(5678.5);
    QImage img = paint(edit);
    EXPECT_EQ(img.pixelColor(0, 0), grey);
    EXPECT_EQ(img.pixelColor(1, 1), black);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(ink(img, cell(k), white), 0) << k;
    for (int k = 3; k < 10; ++k) EXPECT_GT(ink(img, cell(k), white), 5) << k;
    // Separators over the full client height, in their colours.
    EXPECT_EQ(img.pixelColor(2 + 19, 2), silver);
    EXPECT_EQ(img.pixelColor(2 + 6 + 14 * 8 - 1, 22), red);
    EXPECT_EQ(img.pixelColor(2 + 6 + 14 * 5 - 1, 12), black);

    edit.setCurrencySymbolAligned(true);
    img = paint(edit);
    EXPECT_GT(ink(img, cell(0), white), 5);
    EXPECT_EQ(ink(img, cell(3), white), 0);
}

TEST_F(EditWidget, FocusPaintsTheFocusedColourAndTheCaretAsAnInvertedBar) {
    TsncCurrencyEdit edit;
    prepare(edit);
    focus(edit, QEvent::FocusIn);
    QImage img = paint(edit);
    EXPECT_EQ(img.pixelColor(3, 3), yellow);
    // The caret in the units cell: yellow XOR white is blue.
    const QRect caret = edit.model().caretRect().translated(2, 2);
    ASSERT_EQ(caret.height(), 2);
    EXPECT_EQ(img.pixelColor(caret.topLeft()), QColor(0, 0, 0xFF));
    EXPECT_EQ(img.pixelColor(caret.bottomRight()), QColor(0, 0, 0xFF));
    EXPECT_EQ(img.pixelColor(caret.left() - 1, caret.top()), yellow);
    // Zero shows while focused: ￥ and 0 0 0.
    EXPECT_GT(ink(img, cell(6), yellow), 5);
    EXPECT_GT(ink(img, cell(9), yellow), 5);
    EXPECT_EQ(ink(img, cell(5), yellow), 0);

    focus(edit, QEvent::FocusOut);
    img = paint(edit);
    EXPECT_EQ(img.pixelColor(caret.topLeft()), white);
    for (int k = 0; k < 10; ++k) EXPECT_EQ(ink(img, cell(k), white), 0) << k;  // ZeroEmpty
}

TEST_F(EditWidget, NegativeValuesMayShowTheirOwnBackground) {
    TsncCurrencyEdit edit;
    prepare(edit);
    edit.setValue(-12.5);
    edit.setShowNegativeColor(true);
    QImage img = paint(edit);
    EXPECT_EQ(img.pixelColor(3, 3), red);
    edit.setValue(12.5);
    EXPECT_EQ(paint(edit).pixelColor(3, 3), white);
}

TEST_F(EditWidget, KeyEventsTypeDigitsAndHandOnWhatTheControlDoesNotUse) {
    TsncCurrencyEdit edit;
    prepare(edit);
    QSignalSpy before(&edit, &TsncCustomCurrencyEdit::beforeChange);
    QSignalSpy changed(&edit, &TsncCustomCurrencyEdit::changed);
    QSignalSpy movedOut(&edit, &TsncCustomCurrencyEdit::movedOut);
    focus(edit, QEvent::FocusIn);
    EXPECT_TRUE(key(edit, Qt::Key_5, "5"));
    EXPECT_TRUE(key(edit, Qt::Key_3, "3"));
    EXPECT_TRUE(key(edit, Qt::Key_Period, "."));
    EXPECT_TRUE(key(edit, Qt::Key_4, "4", Qt::KeypadModifier));
    EXPECT_EQ(edit.value(), *Amount::parse("53.4"));
    EXPECT_EQ(before.count(), 1);
    EXPECT_EQ(changed.count(), 3);
    EXPECT_FALSE(key(edit, Qt::Key_A, "a"));
    EXPECT_FALSE(key(edit, Qt::Key_Escape));
    EXPECT_TRUE(key(edit, Qt::Key_Up));  // swallowed
    EXPECT_EQ(movedOut.count(), 0);
    edit.setMoveOutAllowed(true);
    EXPECT_FALSE(key(edit, Qt::Key_Up));  // on to the window, after OnMoveOut
    ASSERT_EQ(movedOut.count(), 1);
    EXPECT_EQ(movedOut.at(0).at(0).toInt(), int(Qt::Key_Up));
    edit.setValue(1.0);
    EXPECT_EQ(changed.count(), 3);  // writing the value fires nothing
}

// Real mouse clicks, through the application as a user's would arrive: Qt
// gives the control the focus before the press reaches it (and, in a window
// that the click activates, the window hands it over with its activation),
// and the press must still count as one on a control that had no focus.
TEST_F(EditWidget, AClickPutsTheCaretWhereTheTypedDigitsThenGo) {
    // InactiveWindow and PressInInactiveWindow: a click into a window that is
    // not active, whose activation reaches the control before or after the press.
    enum class Before { Unfocused, InactiveWindow, PressInInactiveWindow, Focused };
    struct Case {
        Before before;
        const char* value;
        int clickedCell;
        const char* keys;
        int caret;           // after the click
        const char* result;  // after the keys
    };
    const Case cases[] = {
        // Taking the focus: not left of the first character cell f.
        {Before::Unfocused, "0", 2, "500", 7, "500"},            // f = 7, the units cell
        {Before::Unfocused, "0", 2, "12345.67", 7, "12345.67"},
        {Before::Unfocused, "53.7", 1, "9", 6, "593.7"},         // on the 5: the 9 goes in after it
        {Before::Unfocused, "53.7", 7, "1", 7, "531.7"},
        {Before::Unfocused, "53.7", 9, "4", 9, "53.74"},
        {Before::InactiveWindow, "0", 2, "500", 7, "500"},
        {Before::InactiveWindow, "53.7", 1, "9", 6, "593.7"},
        {Before::PressInInactiveWindow, "0", 2, "500", 7, "500"},
        {Before::PressInInactiveWindow, "53.7", 1, "9", 6, "593.7"},
        // Already focused: not left of f - 1.
        {Before::Focused, "0", 2, "5", 6, "50"},
        {Before::Focused, "53.7", 1, "9", 5, "953.7"},          // before the number: a new first digit
        {Before::Focused, "53.7", 6, "1", 6, "513.7"},
    };
    for (const Case& c : cases) {
        QWidget window;
        auto* other = new QLineEdit(&window);
        other->setGeometry(0, 0, 149, 21);
        auto* edit = new TsncCurrencyEdit(&window);
        prepare(*edit);
        edit->move(0, 30);
        edit->setValue(*Amount::parse(c.value));
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus(Qt::TabFocusReason);
        if (c.before == Before::Focused) {
            edit->setFocus(Qt::TabFocusReason);
        } else if (c.before == Before::InactiveWindow) {
            // What a click into an inactive window does before the press
            // arrives: the clicked control becomes the window's focus
            // widget, and the window's activation hands it the focus.
            QApplication::setActiveWindow(nullptr);
            edit->setFocus(Qt::MouseFocusReason);
            QApplication::setActiveWindow(&window);
            ASSERT_TRUE(edit->hasFocus());
        }
        const std::string trace = std::string(c.value) + " cell " + std::to_string(c.clickedCell) + " before " +
                                  std::to_string(int(c.before));
        if (c.before == Before::PressInInactiveWindow) {
            QApplication::setActiveWindow(nullptr);
            QTest::mouseClick(edit, Qt::LeftButton, {}, cell(c.clickedCell).center());
            QApplication::setActiveWindow(&window);
        } else {
            QTest::mouseClick(edit, Qt::LeftButton, {}, cell(c.clickedCell).center());
        }
        ASSERT_TRUE(edit->hasFocus()) << trace;
        EXPECT_EQ(edit->model().caret(), c.caret) << trace;
        QTest::keyClicks(edit, c.keys);
        EXPECT_EQ(edit->value().toString(), c.result) << trace << " keys " << c.keys;
    }
}

// A click into an inactive window on a bound control that did not have the
// window's focus: the control is entered (it may be edited) though the focus
// arrives with the window's activation.
TEST_F(EditWidget, ABoundControlClickedInAnInactiveWindowIsEntered) {
    testing::MemoryFieldLink link;
    link.stored = *Amount::parse("19850");
    QWidget window;
    auto* other = new QLineEdit(&window);
    other->setGeometry(0, 0, 149, 21);
    auto* edit = new TsncDBCurrencyEdit(&window);
    prepare(*edit);
    edit->move(0, 30);
    edit->setFieldLink(&link);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus(Qt::TabFocusReason);
    QApplication::setActiveWindow(nullptr);
    edit->setFocus(Qt::MouseFocusReason);
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(edit->hasFocus());
    QTest::mouseClick(edit, Qt::LeftButton, {}, cell(1).center());
    EXPECT_EQ(edit->model().caret(), 3);  // on the 1
    QTest::keyClicks(edit, "9");
    EXPECT_EQ(edit->value().toString(), "199850");
    EXPECT_TRUE(link.editingState);
}

TEST_F(EditWidget, FixedCellWidthResizesTheControl) {
    TsncCurrencyEdit edit;
    prepare(edit);
    edit.setCellWidth(15);
    EXPECT_EQ(edit.width(), 10 * 15 + 9 + 4);
    edit.setCtl3D(false);
    EXPECT_EQ(edit.width(), 10 * 15 + 9 + 2);
    EXPECT_FALSE(edit.setDigitalNumber(19));
    EXPECT_TRUE(edit.setDigitalNumber(12));
    EXPECT_EQ(edit.width(), 12 * 15 + 11 + 2);
}

TEST_F(EditWidget, BoundControlEditsItsFieldAndReportsARefusedWrite) {
    testing::MemoryFieldLink link;
    link.stored = *Amount::parse("12.5");
    TsncDBCurrencyEdit edit;
    prepare(edit);
    edit.setFieldLink(&link);
    QSignalSpy failed(&edit, &TsncDBCurrencyEdit::fieldError);
    focus(edit, QEvent::FocusIn);
    key(edit, Qt::Key_7, "7");
    EXPECT_TRUE(link.editingState);
    EXPECT_TRUE(key(edit, Qt::Key_Escape));
    EXPECT_EQ(edit.value(), *Amount::parse("12.5"));
    key(edit, Qt::Key_8, "8");
    link.refuseWrites = true;
    focus(edit, QEvent::FocusOut);
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).toString(), "value out of range");
    EXPECT_TRUE(edit.model().focused());
    link.refuseWrites = false;
    focus(edit, QEvent::FocusOut);
    EXPECT_EQ(link.stored, *Amount::parse("128.5"));
    EXPECT_FALSE(edit.model().focused());
    edit.setReadOnly(true);
    EXPECT_TRUE(link.readOnly());
}

TEST_F(EditWidget, ADatasetRefusingTheEditModeStopsTheChangeNotTheProgram) {
    struct LockedLink : testing::MemoryFieldLink {
        void startEdit() override { throw std::runtime_error("record locked"); }
    } link;
    link.stored = *Amount::parse("12.5");
    TsncDBCurrencyEdit edit;
    prepare(edit);
    edit.setFieldLink(&link);
    QSignalSpy failed(&edit, &TsncDBCurrencyEdit::fieldError);
    QSignalSpy changed(&edit, &TsncCustomCurrencyEdit::changed);
    focus(edit, QEvent::FocusIn);
    EXPECT_TRUE(key(edit, Qt::Key_7, "7"));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).toString(), "record locked");
    EXPECT_EQ(edit.value(), *Amount::parse("12.5"));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_FALSE(edit.model().changeBegun());
}

TEST_F(EditWidget, SwitchingWindowsNeitherLeavesNorEntersTheControl) {
    testing::MemoryFieldLink link;
    link.stored = *Amount::parse("12.5");
    TsncDBCurrencyEdit edit;
    prepare(edit);
    edit.setFieldLink(&link);
    focus(edit, QEvent::FocusIn);
    key(edit, Qt::Key_7, "7");
    key(edit, Qt::Key_Left);
    focus(edit, QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    EXPECT_FALSE(edit.model().focused());
    EXPECT_EQ(link.stored, *Amount::parse("12.5"));  // nothing written yet
    focus(edit, QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(edit.value(), *Amount::parse("127.5"));  // nothing reloaded
    EXPECT_EQ(edit.model().caret(), 6);               // the caret stayed
    focus(edit, QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(link.stored, *Amount::parse("127.5"));
}

}  // namespace
}  // namespace pemvora::amountgrid
