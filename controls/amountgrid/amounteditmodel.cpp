#include "controls/amountgrid/amounteditmodel.h"

#include <algorithm>

namespace pemvora::amountgrid {

namespace {

constexpr int kMostCells = 18;
constexpr int kMostIntegerDigits = 18;

int countCells(const std::string& text) {
    return static_cast<int>(text.size()) - (text.find('.') != std::string::npos ? 1 : 0);
}

}  // namespace

AmountEditModel::AmountEditModel(std::shared_ptr<const TextMeasure> font,
                                 std::shared_ptr<const TextMeasure> negativeFont)
    : font_(std::move(font)), negativeFont_(std::move(negativeFont)) {}

void AmountEditModel::setMeasures(std::shared_ptr<const TextMeasure> font,
                                  std::shared_ptr<const TextMeasure> negativeFont) {
    font_ = std::move(font);
    negativeFont_ = std::move(negativeFont);
    invalidateAll();
}

void AmountEditModel::setClientSize(QSize size) {
    client_ = size;
    invalidateAll();
}

// ---- properties -----------------------------------------------------------

bool AmountEditModel::setDigitalNumber(int n) {
    // At least one integer cell: the units cell must exist.
    if (n <= style_.decimalNumber || n < 1 || n > kMostCells) return false;
    style_.digitalNumber = n;
    caret_ = std::clamp(caret_, 0, lastCell());
    invalidateAll();
    return true;
}

bool AmountEditModel::setDecimalNumber(int n) {
    if (n < 0 || n > style_.digitalNumber - 1) return false;
    style_.decimalNumber = n;
    invalidateAll();
    return true;
}

bool AmountEditModel::setMaxLength(int n) {
    if (n < 0 || n > kMostIntegerDigits) return false;
    maxLength_ = n;
    return true;
}

void AmountEditModel::setCellWidth(int width) { style_.cellWidth = width; invalidateAll(); }
void AmountEditModel::setGridLineWidth(int width) { style_.gridLineWidth = std::max(width, 0); invalidateAll(); }
void AmountEditModel::setGridLineColor(const QColor& c) { style_.gridLineColor = c; invalidateAll(); }
void AmountEditModel::setKilobitSeparatorColor(const QColor& c) { style_.kilobitSeparatorColor = c; invalidateAll(); }
void AmountEditModel::setDecimalSeparatorColor(const QColor& c) { style_.decimalSeparatorColor = c; invalidateAll(); }
void AmountEditModel::setColor(const QColor& c) { color_ = c; invalidateAll(); }
void AmountEditModel::setFocusedColor(const QColor& c) { focusedColor_ = c; invalidateAll(); }
void AmountEditModel::setNegativeColor(const QColor& c) { negativeColor_ = c; invalidateAll(); }
void AmountEditModel::setCurrencySymbol(const QString& s) { currencySymbol_ = s; invalidateAll(); }
void AmountEditModel::setCurrencySymbolAligned(bool on) { currencySymbolAligned_ = on; invalidateAll(); }
void AmountEditModel::setShowNegativeColor(bool on) { showNegativeColor_ = on; invalidateAll(); }
void AmountEditModel::setShowNegativeFont(bool on) { showNegativeFont_ = on; invalidateAll(); }
void AmountEditModel::setShowNegativeSign(bool on) { showNegativeSign_ = on; invalidateAll(); }
void AmountEditModel::setZeroEmpty(bool on) { zeroEmpty_ = on; invalidateAll(); }
void AmountEditModel::setTextLayout(TextLayout layout) { textLayout_ = layout; invalidateAll(); }

// ---- value and text -------------------------------------------------------

Amount AmountEditModel::value() const { return sign_ < 0 ? magnitude_.negated() : magnitude_; }

void AmountEditModel::setValue(const Amount& value) {
    magnitude_ = value.abs();
    sign_ = value.isNegative() ? -1 : 1;
    if (caret_ < firstCell() - 1) caret_ = unitsCell();
    changeBegun_ = false;
    invalidateAll();
}

std::string AmountEditModel::text() const { return magnitude_.magnitudeText(style_.decimalNumber); }

int AmountEditModel::firstCell() const { return style_.digitalNumber - countCells(text()); }

QString AmountEditModel::shownText() const {
    if (zeroEmpty_ && !focused_ && magnitude_.isZero()) return {};
    const int n = style_.digitalNumber;
    const int decimals = style_.decimalNumber;
    std::string shown = text();
    // A value that rounds to nothing shows no "-": there is nothing to be negative.
    bool showsZero = shown.find_first_not_of("0.") == std::string::npos;
    if (isNegative() && showNegativeSign_ && !showsZero) shown.insert(0, 1, '-');

    int room = currencySymbol_.isEmpty() ? n : n - 1;
    if (countCells(shown) > room) {
        shown.assign(static_cast<std::size_t>(room - decimals), '*');
        if (decimals > 0) {
            shown += '.';
            shown.append(static_cast<std::size_t>(decimals), '*');
        }
    }
    return QString::fromLatin1(shown.data(), static_cast<qsizetype>(shown.size()));
}

// ---- geometry and picture -------------------------------------------------

GridGeometry AmountEditModel::geometry() const { return GridGeometry(style_, client_.width(), 0); }

const TextMeasure& AmountEditModel::currentMeasure() const {
    return isNegative() && showNegativeFont_ ? *negativeFont_ : *font_;
}

int AmountEditModel::verticalOffset(int textHeight) const {
    switch (textLayout_) {
    case TextLayout::Top: return 0;
    case TextLayout::Centre: return (client_.height() - textHeight) / 2 + 1;
    case TextLayout::Bottom: return client_.height() - textHeight;
    }
    return 0;
}

int AmountEditModel::cellAt(int x) const {
    GridGeometry g = geometry();
    if (g.cellCount() > 0 && x >= 0 && x < g.cellLeft(0)) return 0;  // the widened cell 0
    return g.cellAt(x);
}

QRect AmountEditModel::caretRect() const {
    GridGeometry g = geometry();
    const TextMeasure& m = currentMeasure();
    int width = m.width(QStringLiteral("0")) + 2;
    int zeroHeight = m.height(QStringLiteral("0"));
    int y = std::min(zeroHeight + verticalOffset(zeroHeight), client_.height() - 2);
    int x = g.cellLeft(caret_) + (g.cellWidth() - width) / 2;
    return QRect(x, y, width, 2);
}

EditPicture AmountEditModel::picture() const {
    EditPicture pic;
    GridGeometry g = geometry();
    const int n = g.cellCount();
    const int height = client_.height();
    const bool negative = isNegative();
    pic.background = focused_ ? focusedColor_ : (negative && showNegativeColor_ ? negativeColor_ : color_);
    pic.negativeFont = negative && showNegativeFont_;
    pic.separators = g.separators();
    pic.lineWidth = g.lineWidth();
    for (int k = 0; k < n; ++k) {
        int left = k == 0 ? 0 : g.cellLeft(k);
        pic.cells.push_back({QRect(left, 0, g.cellLeft(k) + g.cellWidth() - left, height), {}, {}});
    }
    pic.caretVisible = caretShown();
    pic.caret = caretRect();

    const QString shown = shownText();
    if (shown.isEmpty() || n == 0) return pic;

    const TextMeasure& m = currentMeasure();
    const QString zero = QStringLiteral("0");
    const int zeroWidth = m.width(zero);
    const int t = verticalOffset(m.height(zero));
    const int f = n - (shown.size() - (shown.contains(QLatin1Char('.')) ? 1 : 0));

    if (!currencySymbol_.isEmpty()) {
        int signCell = (!currencySymbolAligned_ && f > 1) ? f - 1 : 0;
        EditCell& cell = pic.cells[signCell];
        cell.text = currencySymbol_;
        cell.textPos = QPoint(cell.rect.left() + (cell.rect.width() - m.width(currencySymbol_)) / 2, t);
    }
    int k = f;
    for (QChar ch : shown) {
        if (ch == QLatin1Char('.')) continue;
        if (k >= 0 && k < n) {
            EditCell& cell = pic.cells[k];
            cell.text = ch;
            cell.textPos = QPoint(g.cellLeft(k) + (g.cellWidth() - zeroWidth) / 2, t);
        }
        ++k;
    }
    return pic;
}

// ---- focus, caret, mouse --------------------------------------------------

void AmountEditModel::invalidateAll() {
    if (host_) host_->invalidate(QRect(QPoint(0, 0), client_));
}

void AmountEditModel::enter() { caret_ = unitsCell(); }

void AmountEditModel::exit() {}

void AmountEditModel::gainFocus() {
    focused_ = true;
    caretShown_ = true;
    invalidateAll();
}

void AmountEditModel::loseFocus() {
    focused_ = false;
    caretShown_ = false;
    invalidateAll();
}

void AmountEditModel::blink() {
    if (!focused_) return;
    caretShown_ = !caretShown_;
    if (host_) host_->invalidate(caretRect());
}

void AmountEditModel::moveCaret(int cell) {
    cell = std::clamp(cell, 0, lastCell());
    if (cell == caret_) return;
    if (host_ && caretShown()) host_->invalidate(caretRect());
    caret_ = cell;
    if (host_ && caretShown()) host_->invalidate(caretRect());
}

void AmountEditModel::mousePress(int x, bool hadFocus) {
    int cell = cellAt(x);
    if (cell < 0) return;  // a separator line keeps the caret where it was
    moveCaret(std::max(cell, hadFocus ? firstCell() - 1 : firstCell()));
}

// ---- changes --------------------------------------------------------------

bool AmountEditModel::doBeforeChange() {
    if (host_) host_->onBeforeChange();
    return true;
}

void AmountEditModel::doMoveOut(int key, Qt::KeyboardModifiers shift) {
    if (host_) host_->onMoveOut(key, shift);
}

void AmountEditModel::doChange() {
    if (host_) host_->onChange();
}

bool AmountEditModel::userChange(const Amount& magnitude, int sign) {
    if (!changeBegun_) {
        if (!doBeforeChange()) return false;
        changeBegun_ = true;
    }
    magnitude_ = magnitude.abs();
    sign_ = sign;
    invalidateAll();
    doChange();
    return true;
}

int AmountEditModel::charIndexOfCell(const std::string& text, int cell) const {
    const bool hasPoint = style_.decimalNumber > 0;
    int count = countCells(text);
    int j = cell - (style_.digitalNumber - count);
    if (j < 0 || j >= count) return -1;
    if (hasPoint && cell > unitsCell()) ++j;  // step over the "."
    return j;
}

bool AmountEditModel::typeDigit(int digit) {
    if (readOnly_ || digit < 0 || digit > 9) return false;
    const int n = style_.digitalNumber;
    const int decimals = style_.decimalNumber;
    std::string t = text();
    const int oldIntegerDigits = Amount::parse(t)->integerDigits();

    int position = caret_ + static_cast<int>(t.size()) - n - (decimals > 0 ? 1 : 0) + 2;
    position = std::clamp(position, 1, static_cast<int>(t.size()) + 1);
    t.insert(static_cast<std::size_t>(position - 1), 1, static_cast<char>('0' + digit));
    if (decimals > 0 && static_cast<int>(t.size() - t.find('.') - 1) > decimals) t.pop_back();

    Amount typed = Amount::parse(t).value_or(Amount());
    // MaxLength bounds the integer digits typing produces; a value already
    // longer (set from outside) may still have its other digits edited.
    int integerDigits = typed.integerDigits();
    if (integerDigits > maxLength_ && integerDigits > oldIntegerDigits) return false;

    if (!userChange(typed, sign_)) return false;
    if (caret_ > unitsCell() && caret_ < lastCell()) moveCaret(caret_ + 1);
    return true;
}

bool AmountEditModel::deleteAtCell(int cell) {
    std::string t = text();
    int index = charIndexOfCell(t, cell);
    if (index < 0) return false;
    t.erase(static_cast<std::size_t>(index), 1);
    Amount rest = Amount::parse(t).value_or(Amount());  // nothing left counts as 0
    return userChange(rest, sign_);
}

void AmountEditModel::keyBackspace() {
    const int f = firstCell();
    const int firstDecimal = unitsCell() + 1;
    if (caret_ <= unitsCell()) {
        if (caret_ > f) {
            deleteAtCell(caret_ - 1);
        } else if (caret_ == f) {
            // Towards the units, but the caret stays in the integer cells.
            if (deleteAtCell(caret_)) moveCaret(std::min(caret_ + 1, unitsCell()));
        } else {
            moveCaret(caret_ + 1);
        }
    } else if (caret_ == firstDecimal) {
        deleteAtCell(caret_);
    } else if (deleteAtCell(caret_ - 1)) {
        moveCaret(caret_ - 1);
    }
}

void AmountEditModel::keyDelete() {
    if (caret_ <= unitsCell()) {
        deleteAtCell(caret_);
        if (caret_ != unitsCell()) moveCaret(caret_ + 1);
    } else {
        deleteAtCell(caret_);
    }
}

KeyResult AmountEditModel::moveOut(int key, Qt::KeyboardModifiers shift) {
    if (!moveOutAllowed_) return KeyResult::Handled;
    doMoveOut(key, shift);
    return KeyResult::PassedOn;
}

KeyResult AmountEditModel::keyLeft(bool ctrl, Qt::KeyboardModifiers shift, int key) {
    const int lowest = std::max(firstCell() - 1, 0);
    const int units = unitsCell();
    const int firstDecimal = units + 1;
    if (caret_ <= lowest) return moveOut(key, shift);
    if (!ctrl) {
        moveCaret(caret_ - 1);
    } else if (caret_ <= units) {
        int distance = units - caret_;
        moveCaret(std::max(units - (distance / 3 + 1) * 3, lowest));
    } else if (caret_ == firstDecimal) {
        moveCaret(units);
    } else {
        moveCaret(firstDecimal + ((caret_ - firstDecimal - 1) / 3) * 3);
    }
    return KeyResult::Handled;
}

KeyResult AmountEditModel::keyRight(bool ctrl, Qt::KeyboardModifiers shift, int key) {
    const int units = unitsCell();
    const int firstDecimal = units + 1;
    if (caret_ >= lastCell()) return moveOut(key, shift);
    if (!ctrl) {
        moveCaret(caret_ + 1);
    } else if (caret_ < units) {
        int distance = units - caret_;
        moveCaret(units - ((distance - 1) / 3) * 3);
    } else if (caret_ == units) {
        moveCaret(firstDecimal);
    } else {
        moveCaret(std::min(firstDecimal + ((caret_ - firstDecimal) / 3 + 1) * 3, lastCell()));
    }
    return KeyResult::Handled;
}

KeyResult AmountEditModel::keyDown(int key, Qt::KeyboardModifiers shift) {
    const bool ctrl = shift.testFlag(Qt::ControlModifier);
    const bool shifted = shift.testFlag(Qt::ShiftModifier);
    const bool keypad = shift.testFlag(Qt::KeypadModifier);
    switch (key) {
    case Qt::Key_Left: return keyLeft(ctrl, shift, key);
    case Qt::Key_Right: return keyRight(ctrl, shift, key);
    case Qt::Key_Up:
    case Qt::Key_Down: return moveOut(key, shift);
    case Qt::Key_Home: moveCaret(std::max(firstCell() - 1, 0)); return KeyResult::Handled;
    case Qt::Key_End: moveCaret(lastCell()); return KeyResult::Handled;
    case Qt::Key_Period:
        if (shifted && !keypad) return KeyResult::PassedOn;
        if (style_.decimalNumber > 0) moveCaret(caret_ <= unitsCell() ? unitsCell() + 1 : unitsCell());
        return KeyResult::Handled;
    default: break;
    }

    switch (key) {
    case Qt::Key_Backspace:
        if (!readOnly_) keyBackspace();
        return KeyResult::Handled;
    case Qt::Key_Delete:
        if (readOnly_) return KeyResult::Handled;
        if (ctrl) {
            if (userChange(Amount(), sign_)) moveCaret(unitsCell());
        } else {
            keyDelete();
        }
        return KeyResult::Handled;
    case Qt::Key_Plus:  // Shift with "=", or the keypad's +
        if (!readOnly_ && sign_ < 0) userChange(magnitude_, 1);
        return KeyResult::Handled;
    case Qt::Key_Minus:
        if (shifted && !keypad) return KeyResult::PassedOn;
        if (!readOnly_) userChange(magnitude_, -sign_);
        return KeyResult::Handled;
    default:
        return KeyResult::PassedOn;
    }
}

}  // namespace pemvora::amountgrid
