#include "app/widgets/buttonedit.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace pemvora::widgets {

ButtonEdit::ButtonEdit(QWidget* parent) : QWidget(parent)
{
    edit_ = new QLineEdit(this);
    button_ = new QToolButton(this);
    button_->setText(QStringLiteral("…"));
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::ArrowCursor);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(button_);
    setFocusProxy(edit_);
    connect(button_, &QToolButton::clicked, this, &ButtonEdit::buttonClicked);
    connect(edit_, &QLineEdit::textEdited, this, &ButtonEdit::textEdited);
}

QString ButtonEdit::text() const
{
    return edit_->text();
}

void ButtonEdit::setText(const QString& text)
{
    if (edit_->text() != text) edit_->setText(text);
}

} // namespace pemvora::widgets
