#pragma once
// The behaviour of the amount edit controls without a screen: the value, its
// text and where each character goes, the caret, typing, keys, clicks, focus,
// the change events and the change-begun flag. The widgets only forward
// input here and paint what picture() describes.

#include "controls/amountgrid/amount.h"
#include "controls/amountgrid/gridgeometry.h"
#include "controls/amountgrid/textmeasure.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <Qt>

#include <memory>
#include <string>
#include <vector>

namespace pemvora::amountgrid {

// One cell as painted: its background rectangle, and the text written into
// it from textPos (top-left of the text), clipped to the rectangle.
struct EditCell {
    QRect rect;
    QString text;
    QPoint textPos;
};

struct EditPicture {
    QColor background;
    bool negativeFont = false;  // draw the texts with NegativeFont
    std::vector<EditCell> cells;
    std::vector<Separator> separators;  // each lineWidth wide, over the full height
    int lineWidth = 0;
    bool caretVisible = false;
    QRect caret;  // drawn by inverting with the control's colour
};

// Whether the control used a key or leaves it to the window's own handling.
enum class KeyResult { Handled, PassedOn };

class AmountEditModel {
public:
    // What the model asks of the widget around it.
    class Host {
    public:
        virtual void invalidate(const QRect& clientRect) = 0;
        virtual void onBeforeChange() = 0;
        virtual void onChange() = 0;
        virtual void onMoveOut(int key, Qt::KeyboardModifiers shift) = 0;
    protected:
        ~Host() = default;
    };

    AmountEditModel(std::shared_ptr<const TextMeasure> font, std::shared_ptr<const TextMeasure> negativeFont);
    virtual ~AmountEditModel() = default;

    void setHost(Host* host) { host_ = host; }
    void setMeasures(std::shared_ptr<const TextMeasure> font, std::shared_ptr<const TextMeasure> negativeFont);
    void setClientSize(QSize size);
    QSize clientSize() const { return client_; }

    // Properties. The setters of the counted ones return whether the value was accepted.
    int digitalNumber() const { return style_.digitalNumber; }
    bool setDigitalNumber(int n);   // from DecimalNumber + 1 to 18
    int decimalNumber() const { return style_.decimalNumber; }
    bool setDecimalNumber(int n);   // from 0 to DigitalNumber - 1
    int maxLength() const { return maxLength_; }
    bool setMaxLength(int n);       // from 0 to 18
    int cellWidth() const { return style_.cellWidth; }
    void setCellWidth(int width);
    int gridLineWidth() const { return style_.gridLineWidth; }
    void setGridLineWidth(int width);
    QColor gridLineColor() const { return style_.gridLineColor; }
    void setGridLineColor(const QColor& c);
    QColor kilobitSeparatorColor() const { return style_.kilobitSeparatorColor; }
    void setKilobitSeparatorColor(const QColor& c);
    QColor decimalSeparatorColor() const { return style_.decimalSeparatorColor; }
    void setDecimalSeparatorColor(const QColor& c);
    QColor color() const { return color_; }
    void setColor(const QColor& c);
    QColor focusedColor() const { return focusedColor_; }
    void setFocusedColor(const QColor& c);
    QColor negativeColor() const { return negativeColor_; }
    void setNegativeColor(const QColor& c);
    QString currencySymbol() const { return currencySymbol_; }
    void setCurrencySymbol(const QString& s);
    bool currencySymbolAligned() const { return currencySymbolAligned_; }
    void setCurrencySymbolAligned(bool on);
    bool showNegativeColor() const { return showNegativeColor_; }
    void setShowNegativeColor(bool on);
    bool showNegativeFont() const { return showNegativeFont_; }
    void setShowNegativeFont(bool on);
    bool showNegativeSign() const { return showNegativeSign_; }
    void setShowNegativeSign(bool on);
    bool zeroEmpty() const { return zeroEmpty_; }
    void setZeroEmpty(bool on);
    bool moveOutAllowed() const { return moveOutAllowed_; }
    void setMoveOutAllowed(bool on) { moveOutAllowed_ = on; }
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool on) { readOnly_ = on; }
    TextLayout textLayout() const { return textLayout_; }
    void setTextLayout(TextLayout layout);
    const GridStyle& style() const { return style_; }

    // The value: magnitude times sign. Writing it fires no events and clears
    // the change-begun flag.
    Amount value() const;
    void setValue(const Amount& value);
    const Amount& magnitude() const { return magnitude_; }
    int sign() const { return sign_; }
    bool isNegative() const { return sign_ < 0 && !magnitude_.isZero(); }
    bool changeBegun() const { return changeBegun_; }

    // The magnitude written with the mask "0.00" (as many zeros as decimals).
    std::string text() const;
    // The characters the cells show, after the sign and the overflow rule;
    // empty when ZeroEmpty hides a zero.
    QString shownText() const;
    // First cell holding a character of text() (may be negative when it overflows).
    int firstCell() const;
    int unitsCell() const { return style_.digitalNumber - style_.decimalNumber - 1; }
    int lastCell() const { return style_.digitalNumber - 1; }

    GridGeometry geometry() const;
    EditPicture picture() const;
    QRect caretRect() const;
    // The cell under x (cell 0 takes the leftover strip), -1 on a separator.
    int cellAt(int x) const;

    int caret() const { return caret_; }
    bool caretShown() const { return focused_ && caretShown_; }
    bool focused() const { return focused_; }

    // Input. Entering and leaving happen when the focus moves between
    // controls; gaining and losing the focus also when the window is
    // activated or deactivated.
    virtual void enter();
    virtual void exit();  // may throw (the bound control's field refuses the value)
    void gainFocus();
    void loseFocus();
    void focusIn() { enter(); gainFocus(); }
    void focusOut() { exit(); loseFocus(); }
    void blink();  // the 500 ms timer while focused
    void mousePress(int x, bool hadFocus);
    bool typeDigit(int digit);  // true when the digit went in
    virtual KeyResult keyDown(int key, Qt::KeyboardModifiers shift);

protected:
    // Returning false abandons the change (the bound control could not edit).
    virtual bool doBeforeChange();
    virtual void doMoveOut(int key, Qt::KeyboardModifiers shift);
    virtual void doChange();

    void invalidateAll();

private:
    bool userChange(const Amount& magnitude, int sign);
    void moveCaret(int cell);
    KeyResult moveOut(int key, Qt::KeyboardModifiers shift);
    const TextMeasure& currentMeasure() const;
    int charIndexOfCell(const std::string& text, int cell) const;
    bool deleteAtCell(int cell);
    void keyBackspace();
    void keyDelete();
    KeyResult keyLeft(bool ctrl, Qt::KeyboardModifiers shift, int key);
    KeyResult keyRight(bool ctrl, Qt::KeyboardModifiers shift, int key);
    int verticalOffset(int textHeight) const;

    Host* host_ = nullptr;
    std::shared_ptr<const TextMeasure> font_;
    std::shared_ptr<const TextMeasure> negativeFont_;
    QSize client_{117, 21};

    GridStyle style_;
    int maxLength_ = 18;
    QColor color_{0xFF, 0xFF, 0xFF};
    QColor focusedColor_{0xFF, 0xFF, 0};
    QColor negativeColor_{0xFF, 0, 0};
    QString currencySymbol_ = QStringLiteral("\uFFE5");  // ￥
    bool currencySymbolAligned_ = false;
    bool showNegativeColor_ = false;
    bool showNegativeFont_ = false;
    bool showNegativeSign_ = true;
    bool zeroEmpty_ = true;
    bool moveOutAllowed_ = false;
    bool readOnly_ = false;
    TextLayout textLayout_ = TextLayout::Centre;

    Amount magnitude_;
    int sign_ = 1;
    int caret_ = 7;
    bool caretShown_ = false;
    bool focused_ = false;
    bool changeBegun_ = false;
};

}  // namespace pemvora::amountgrid
