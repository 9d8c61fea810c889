#include "app/widgets/navigator.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>

namespace pemvora::widgets {

namespace {

struct Face {
    const char* glyph;
    const char* hint;
};

Face faceOf(Navigator::Button b)
{
    switch (b) {
    case Navigator::Button::First: return {"|◀", "第一条"};
    case Navigator::Button::Prior: return {"◀", "上一条"};
    case Navigator::Button::Next: return {"▶", "下一条"};
    case Navigator::Button::Last: return {"▶|", "最后一条"};
    case Navigator::Button::Insert: return {"+", "增加"};
    case Navigator::Button::Delete: return {"−", "删除"};
    case Navigator::Button::Post: return {"✓", "保存"};
    }
    return {"", ""};
}

// A button of the navigator: never a tab stop of its own; it draws the
// focus mark when the navigator has the focus and this is the marked button.
class NavigatorButton : public QToolButton {
public:
    using QToolButton::QToolButton;

    void setMarked(bool on)
    {
        if (marked_ == on) return;
        marked_ = on;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QToolButton::paintEvent(event);
        if (!marked_) return;
        QStylePainter p(this);
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }

private:
    bool marked_ = false;
};

} // namespace

Navigator::Navigator(std::vector<Button> buttons, QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (Button b : buttons) {
        const Face face = faceOf(b);
        auto* tb = new NavigatorButton(this);
        tb->setText(QString::fromUtf8(face.glyph));
        tb->setToolTip(QString::fromUtf8(face.hint));
        tb->setFocusPolicy(Qt::NoFocus);
        tb->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(tb);
        const std::size_t index = buttons_.size();
        buttons_.emplace_back(b, tb);
        connect(tb, &QToolButton::clicked, this, [this, b, index] {
            mark(index);
            emit clicked(b);
        });
    }
}

QToolButton* Navigator::button(Button b) const
{
    for (const auto& [which, tb] : buttons_)
        if (which == b) return tb;
    return nullptr;
}

void Navigator::mark(std::size_t index)
{
    marked_ = index;
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        static_cast<NavigatorButton*>(buttons_[i].second)->setMarked(hasFocus() && i == marked_);
}

void Navigator::keyPressEvent(QKeyEvent* event)
{
    if (buttons_.empty() || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        if (marked_ > 0) mark(marked_ - 1);
        break;
    case Qt::Key_Right:
        if (marked_ + 1 < buttons_.size()) mark(marked_ + 1);
        break;
    case Qt::Key_Space:
        buttons_[marked_].second->click();   // does nothing while disabled
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void Navigator::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    mark(marked_);
}

void Navigator::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    mark(marked_);
}

} // namespace pemvora::widgets
