#include "report/designer/designer_ruler.h"

#include "report/designer/designer_geometry.h"

#include <QPainter>

#include <cmath>

namespace pemvora::report {

DesignerRuler::DesignerRuler(Qt::Orientation orientation, QWidget* parent) : QWidget(parent), orientation_(orientation)
{
    if (orientation_ == Qt::Horizontal) setFixedHeight(20);
    else setFixedWidth(20);
}

void DesignerRuler::setOrigin(int origin)
{
    if (origin == origin_) return;
    origin_ = origin;
    update();
}

void DesignerRuler::setUnits(int units)
{
    units_ = units;
    update();
}

void DesignerRuler::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    p.setPen(palette().color(QPalette::ButtonText));
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);
    const bool horizontal = orientation_ == Qt::Horizontal;
    const int length = horizontal ? width() : height();
    // Small ticks every step, numbers every `label` steps, in design pixels.
    const double step = units_ == 0 ? 10.0 : units_ == 1 ? unitsToPixels(1, 1) : unitsToPixels(0.1, 2);
    const int label = 10;
    const int first = static_cast<int>(std::floor(-origin_ / step));
    for (int i = first;; ++i) {
        const int at = origin_ + static_cast<int>(std::lround(i * step));
        if (at > length) break;
        const bool big = i % label == 0;
        const int tick = big ? 8 : (i % (label / 2) == 0 ? 5 : 3);
        if (horizontal) p.drawLine(at, height() - tick, at, height() - 1);
        else p.drawLine(width() - tick, at, width() - 1, at);
        if (big && i >= 0) {
            const QString text = QString::number(units_ == 0 ? i * 10 : units_ == 1 ? i : i / 10);
            if (horizontal) p.drawText(at + 2, 10, text);
            else p.drawText(1, at + 10, text);
        }
    }
}

} // namespace pemvora::report
