#include "app/widgets/titlelabel.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace pemvora::widgets {

TitleLabel::TitleLabel(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void TitleLabel::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TitleLabel::setGradient(const QColor& top, const QColor& bottom)
{
    top_ = top;
    bottom_ = bottom;
    update();
}

void TitleLabel::setShadow(const QColor& colour, int offset)
{
    shadow_ = colour;
    shadowOffset_ = offset;
    update();
}

void TitleLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addText(0, 0, font(), caption_);
    // Centre the caption in the label.
    const QRectF box = path.boundingRect();
    const QPointF shift((width() - shadowOffset_ - box.width()) / 2 - box.left(),
                        (height() - shadowOffset_ - box.height()) / 2 - box.top());
    path.translate(shift);
    p.fillPath(path.translated(shadowOffset_, shadowOffset_), shadow_);
    QLinearGradient gradient(0, path.boundingRect().top(), 0, path.boundingRect().bottom());
    gradient.setColorAt(0, top_);
    gradient.setColorAt(1, bottom_);
    p.fillPath(path, gradient);
}

} // namespace pemvora::widgets
