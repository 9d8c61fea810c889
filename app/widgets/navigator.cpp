#include "app/widgets/navigator.h"

#include <QHBoxLayout>
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

} // namespace

Navigator::Navigator(std::vector<Button> buttons, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (Button b : buttons) {
        const Face face = faceOf(b);
        auto* tb = new QToolButton(this);
        tb->setText(QString::fromUtf8(face.glyph));
        tb->setToolTip(QString::fromUtf8(face.hint));
        tb->setFocusPolicy(Qt::TabFocus);
        tb->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(tb);
        buttons_.emplace_back(b, tb);
        connect(tb, &QToolButton::clicked, this, [this, b] { emit clicked(b); });
    }
}

QToolButton* Navigator::button(Button b) const
{
    for (const auto& [which, tb] : buttons_)
        if (which == b) return tb;
    return nullptr;
}

} // namespace pemvora::widgets
