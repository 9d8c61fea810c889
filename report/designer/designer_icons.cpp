#include "report/designer/designer_icons.h"

#include <QPainter>
#include <QPixmap>

namespace pemvora::report {

namespace {

constexpr int kSize = 20;

void frameIcon(QPainter& p, bool top, bool left, bool bottom, bool right)
{
    p.setPen(QPen(QColor(170, 170, 170), 1, Qt::DotLine));
    p.drawRect(3, 3, 13, 13);
    p.setPen(QPen(Qt::black, 2));
    if (top) p.drawLine(3, 3, 16, 3);
    if (left) p.drawLine(3, 3, 3, 16);
    if (bottom) p.drawLine(3, 16, 16, 16);
    if (right) p.drawLine(16, 3, 16, 16);
}

void textLinesIcon(QPainter& p, int align)
{
    p.setPen(QPen(Qt::black, 1));
    const int widths[] = {14, 9, 12, 7};
    for (int i = 0; i < 4; ++i) {
        const int w = align == 3 ? 14 : widths[i];
        const int x = align == 0 || align == 3 ? 3 : align == 1 ? 17 - w : 3 + (14 - w) / 2;
        p.drawLine(x, 4 + 4 * i, x + w - 1, 4 + 4 * i);
    }
}

void verticalIcon(QPainter& p, int where)
{
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.drawRect(2, 2, 15, 15);
    p.setPen(QPen(Qt::black, 2));
    const int y = where == 0 ? 5 : where == 1 ? 10 : 15;
    p.drawLine(5, y - 1, 14, y - 1);
}

} // namespace

QIcon designerIcon(const QString& name, const QString& letters)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    if (name == "frame-top") frameIcon(p, true, false, false, false);
    else if (name == "frame-left") frameIcon(p, false, true, false, false);
    else if (name == "frame-bottom") frameIcon(p, false, false, true, false);
    else if (name == "frame-right") frameIcon(p, false, false, false, true);
    else if (name == "frame-all") frameIcon(p, true, true, true, true);
    else if (name == "frame-none") frameIcon(p, false, false, false, false);
    else if (name == "text-left") textLinesIcon(p, 0);
    else if (name == "text-right") textLinesIcon(p, 1);
    else if (name == "text-center") textLinesIcon(p, 2);
    else if (name == "text-justify") textLinesIcon(p, 3);
    else if (name == "text-top") verticalIcon(p, 0);
    else if (name == "text-middle") verticalIcon(p, 1);
    else if (name == "text-bottom") verticalIcon(p, 2);
    else {
        QFont font = p.font();
        font.setPixelSize(letters.size() > 2 ? 8 : letters.size() > 1 ? 10 : 14);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, letters.isEmpty() ? name.left(2) : letters);
    }
    return QIcon(pixmap);
}

} // namespace pemvora::report
