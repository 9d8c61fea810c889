#pragma once
// A title label: its caption in a large font, filled with a colour gradient
// over a soft drop shadow, drawn smoothly.

#include <QColor>
#include <QWidget>

namespace pemvora::widgets {

class TitleLabel : public QWidget {
    Q_OBJECT
public:
    explicit TitleLabel(const QString& caption, QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    // The gradient runs from the first colour at the top to the second at the bottom.
    void setGradient(const QColor& top, const QColor& bottom);
    void setShadow(const QColor& colour, int offset);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    QColor top_{0, 64, 192};
    QColor bottom_{160, 0, 64};
    QColor shadow_{128, 128, 128, 160};
    int shadowOffset_ = 2;
};

} // namespace pemvora::widgets
