#include "controls/amountgrid/currencyedit.h"

#include "controls/amountgrid/framepainter.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <exception>

namespace pemvora::amountgrid {

namespace {

constexpr int kBlinkMs = 500;

HeaderFrame frameOf(BorderStyle border, bool ctl3D) {
    if (border == BorderStyle::None) return HeaderFrame::None;
    return ctl3D ? HeaderFrame::Sunken : HeaderFrame::Flat;
}

}  // namespace

TsncCustomCurrencyEdit::TsncCustomCurrencyEdit(std::unique_ptr<AmountEditModel> model, QWidget* parent)
    : QWidget(parent), model_(std::move(model)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    model_->setColor(QApplication::palette().color(QPalette::Base));
    model_->setHost(this);
    updateMeasures();
    updateFrame();
    resize(121, 25);
}

TsncCustomCurrencyEdit::~TsncCustomCurrencyEdit() { model_->setHost(nullptr); }

void TsncCustomCurrencyEdit::invalidate(const QRect& clientRect) {
    update(clientRect.translated(contentsRect().topLeft()));
}

void TsncCustomCurrencyEdit::updateMeasures() {
    model_->setMeasures(std::make_shared<FontMeasure>(font()), std::make_shared<FontMeasure>(negativeFont_));
}

void TsncCustomCurrencyEdit::updateFrame() {
    int b = frameWidthOf(frameOf(border_, ctl3D_));
    setContentsMargins(b, b, b, b);
    model_->setClientSize(contentsRect().size());
    fitWidth();
    update();
}

void TsncCustomCurrencyEdit::fitWidth() {
    if (model_->cellWidth() < 0) return;
    int b = frameWidthOf(frameOf(border_, ctl3D_));
    int wanted = model_->geometry().width() + 2 * b;
    if (wanted != width()) resize(wanted, height());
}

void TsncCustomCurrencyEdit::setBorderStyle(BorderStyle b) { border_ = b; updateFrame(); }
void TsncCustomCurrencyEdit::setCtl3D(bool on) { ctl3D_ = on; updateFrame(); }
void TsncCustomCurrencyEdit::setCellWidth(int w) { model_->setCellWidth(w); fitWidth(); }
void TsncCustomCurrencyEdit::setGridLineWidth(int w) { model_->setGridLineWidth(w); fitWidth(); }

bool TsncCustomCurrencyEdit::setDigitalNumber(int n) {
    if (!model_->setDigitalNumber(n)) return false;
    fitWidth();
    return true;
}

void TsncCustomCurrencyEdit::setNegativeFont(const QFont& f) {
    negativeFont_ = f;
    updateMeasures();
}

void TsncCustomCurrencyEdit::setNegativeFontColor(const QColor& c) {
    negativeFontColor_ = c;
    update();
}

void TsncCustomCurrencyEdit::resizeEvent(QResizeEvent*) {
    model_->setClientSize(contentsRect().size());
    fitWidth();
}

void TsncCustomCurrencyEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) updateMeasures();
    QWidget::changeEvent(event);
}

void TsncCustomCurrencyEdit::paintEvent(QPaintEvent*) {
    const EditPicture pic = model_->picture();
    const QRect client = contentsRect();

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    paintFrame(p, size(), frameOf(border_, ctl3D_));
    p.translate(client.topLeft());
    p.setClipRect(QRect(QPoint(0, 0), client.size()));
    p.fillRect(QRect(QPoint(0, 0), client.size()), pic.background);
    for (const Separator& s : pic.separators)
        p.fillRect(QRect(s.x, 0, pic.lineWidth, client.height()), s.color);

    const QFont& font = pic.negativeFont ? negativeFont_ : this->font();
    p.setFont(font);
    p.setPen(pic.negativeFont ? negativeFontColor_ : palette().color(QPalette::Text));
    const int ascent = QFontMetrics(font).ascent();
    for (const EditCell& cell : pic.cells) {
        p.fillRect(cell.rect, pic.background);
        if (cell.text.isEmpty()) continue;
        p.save();
        p.setClipRect(cell.rect, Qt::IntersectClip);
        p.drawText(QPoint(cell.textPos.x(), cell.textPos.y() + ascent), cell.text);
        p.restore();
    }
    if (pic.caretVisible) {
        // The caret inverts the background with the control's colour, as an
        // exclusive-or bar would.
        QRgb inverted = (pic.background.rgb() ^ model_->color().rgb()) & 0x00FFFFFF;
        p.fillRect(pic.caret, QColor::fromRgb(inverted));
    }
}

namespace {

// Focus that comes and goes with the window (or a popup) has not moved
// between controls: the control is neither entered nor left.
bool movesBetweenControls(const QFocusEvent* event) {
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

}  // namespace

void TsncCustomCurrencyEdit::focusInEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    // The window coming back gives the focus back to the control that had
    // it; any other control it reaches this way has been entered.
    const bool entering = movesBetweenControls(event) || !keptOverWindowSwitch_;
    keptOverWindowSwitch_ = false;
    if (entering) model_->enter();
    model_->gainFocus();
    // A click into an inactive window makes the clicked control the window's
    // focus widget, and the window's activation hands it the focus, before
    // or after the press itself arrives. Either way the press counts as one
    // on a control that had no focus.
    const bool byClick = reason == Qt::MouseFocusReason || reason == Qt::ActiveWindowFocusReason;
    if (pressBeforeFocus_ && byClick) model_->mousePress(*pressBeforeFocus_, false);
    focusedByPress_ = byClick && !pressBeforeFocus_;
    pressBeforeFocus_.reset();
    if (!blink_) {
        blink_ = new QTimer(this);
        connect(blink_, &QTimer::timeout, this, [this] { model_->blink(); });
        blink_->start(kBlinkMs);
    }
    QWidget::focusInEvent(event);
}

void TsncCustomCurrencyEdit::focusOutEvent(QFocusEvent* event) {
    focusedByPress_ = false;
    keptOverWindowSwitch_ = !movesBetweenControls(event);
    if (movesBetweenControls(event)) {
        try {
            model_->exit();
        } catch (const std::exception& error) {
            // The value could not be stored: the control keeps the focus.
            QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
            fieldFailed(QString::fromUtf8(error.what()));
            return;
        }
    }
    model_->loseFocus();
    delete blink_;
    blink_ = nullptr;
    QWidget::focusOutEvent(event);
}

void TsncCustomCurrencyEdit::fieldFailed(const QString&) {}

void TsncCustomCurrencyEdit::keyPressEvent(QKeyEvent* event) {
    focusedByPress_ = false;
    // A dataset may refuse the edit mode a first change asks for; the
    // exception must not leave the event handler.
    try {
        if (model_->keyDown(event->key(), event->modifiers()) == KeyResult::Handled) {
            event->accept();
            return;
        }
        const QString text = event->text();
        const bool commandKey = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (!commandKey && text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9')) {
            model_->typeDigit(text[0].unicode() - '0');
            event->accept();
            return;
        }
    } catch (const std::exception& error) {
        event->accept();
        fieldFailed(QString::fromUtf8(error.what()));
        return;
    }
    QWidget::keyPressEvent(event);  // on to the window's own key handling
}

void TsncCustomCurrencyEdit::mousePressEvent(QMouseEvent* event) {
    const bool hadFocus = model_->focused() && !focusedByPress_;
    focusedByPress_ = false;
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int x = event->position().toPoint().x() - contentsRect().left();
    if (!model_->focused()) {
        setFocus(Qt::MouseFocusReason);
        focusedByPress_ = false;
        if (!model_->focused()) {  // the window is not active yet: the press applies when the focus comes
            pressBeforeFocus_ = x;
            return;
        }
    }
    model_->mousePress(x, hadFocus);
}

TsncCurrencyEdit::TsncCurrencyEdit(QWidget* parent)
    : TsncCustomCurrencyEdit(std::make_unique<AmountEditModel>(nullptr, nullptr), parent) {}

TsncDBCurrencyEdit::TsncDBCurrencyEdit(QWidget* parent)
    : TsncDBCurrencyEdit(new BoundAmountEditModel(nullptr, nullptr), parent) {}

TsncDBCurrencyEdit::TsncDBCurrencyEdit(BoundAmountEditModel* model, QWidget* parent)
    : TsncCustomCurrencyEdit(std::unique_ptr<AmountEditModel>(model), parent), bound_(model) {}

void TsncDBCurrencyEdit::fieldFailed(const QString& message) { emit fieldError(message); }

}  // namespace pemvora::amountgrid
