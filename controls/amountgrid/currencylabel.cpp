#include "controls/amountgrid/currencylabel.h"

#include "controls/amountgrid/framepainter.h"

#include <QApplication>
#include <QPainter>

namespace pemvora::amountgrid {

TsncCurrencyLabel::TsncCurrencyLabel(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    // Its own background, the system window colour, never the parent's.
    header_.setColor(QApplication::palette().color(QPalette::Base));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(121, 25);
}

void TsncCurrencyLabel::changed() {
    int wanted = header_.widthFor(width());
    if (wanted != width()) resize(wanted, height());
    update();
}

void TsncCurrencyLabel::setBorderStyle(BorderStyle b) { header_.setBorderStyle(b); changed(); }
void TsncCurrencyLabel::setCtl3D(bool on) { header_.setCtl3D(on); changed(); }
void TsncCurrencyLabel::setCellWidth(int w) { header_.setCellWidth(w); changed(); }
bool TsncCurrencyLabel::setDigitalNumber(int n) {
    if (!header_.setDigitalNumber(n)) return false;
    changed();
    return true;
}
bool TsncCurrencyLabel::setDecimalNumber(int n) {
    if (!header_.setDecimalNumber(n)) return false;
    changed();
    return true;
}
void TsncCurrencyLabel::setDigitalSymbols(const QStringList& s) { header_.setDigitalSymbols(s); update(); }
void TsncCurrencyLabel::setDecimalSymbols(const QStringList& s) { header_.setDecimalSymbols(s); update(); }
void TsncCurrencyLabel::setGridLineColor(const QColor& c) { header_.setGridLineColor(c); update(); }
void TsncCurrencyLabel::setGridLineWidth(int w) { header_.setGridLineWidth(w); changed(); }
void TsncCurrencyLabel::setKilobitSeparatorColor(const QColor& c) { header_.setKilobitSeparatorColor(c); update(); }
void TsncCurrencyLabel::setDecimalSeparatorColor(const QColor& c) { header_.setDecimalSeparatorColor(c); update(); }
void TsncCurrencyLabel::setTextLayout(TextLayout l) { header_.setTextLayout(l); update(); }
void TsncCurrencyLabel::setColor(const QColor& c) { header_.setColor(c); update(); }

void TsncCurrencyLabel::resizeEvent(QResizeEvent*) {
    int wanted = header_.widthFor(width());
    if (wanted != width()) resize(wanted, height());
}

void TsncCurrencyLabel::paintEvent(QPaintEvent*) {
    HeaderPicture pic = header_.picture(size(), FontMeasure(font()));

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(rect(), pic.background);
    paintFrame(p, size(), pic.frame);

    for (const Separator& s : pic.separators)
        p.fillRect(QRect(s.x, pic.lineTop, pic.lineWidth, pic.lineBottom - pic.lineTop), s.color);

    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    const int ascent = QFontMetrics(font()).ascent();
    for (const HeaderCaption& c : pic.captions) {
        p.setClipRect(c.clip);
        p.drawText(QPoint(c.pos.x(), c.pos.y() + ascent), c.text);
    }
}

}  // namespace pemvora::amountgrid
