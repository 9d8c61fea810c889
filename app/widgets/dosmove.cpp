#include "app/widgets/dosmove.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include <stdexcept>

namespace pemvora::widgets {

DosMove::DosMove(QWidget* window) : QObject(window), window_(window)
{
    for (QObject* child : window->children())
        if (child != this && qobject_cast<DosMove*>(child))
            throw std::logic_error("TDosMove can have only one instance per form");
    // Key preview: the application's keys are seen before the focused control gets them.
    qApp->installEventFilter(this);
}

DosMove::~DosMove()
{
    qApp->removeEventFilter(this);
}

QWidget* DosMove::nextTabStop(QWidget* window, QWidget* from, bool forward)
{
    if (!from) return nullptr;
    QWidget* w = from;
    // Walk the focus chain the way Tab does: focusable, visible, enabled
    // widgets of this window that are not merely a proxy for another.
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == from) return nullptr;
        if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy() &&
            w->window() == window && w->isVisibleTo(window) && w->isEnabled())
            return w;
    }
}

bool DosMove::eventFilter(QObject* watched, QEvent* event)
{
    if (!active_ || event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_ || widget != QApplication::focusWidget()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool inEdit = qobject_cast<QLineEdit*>(widget) != nullptr;
    const bool isReturn = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    bool forward = false, move = false;
    if (key->key() == Qt::Key_Down && options_.testFlag(MoveOnUpDown)) move = forward = true;
    else if (key->key() == Qt::Key_Up && options_.testFlag(MoveOnUpDown)) move = true;
    else if (isReturn && options_.testFlag(MoveOnEnter)) move = forward = true;
    if (move) {
        if (QWidget* target = nextTabStop(window_, widget, forward)) target->setFocus(Qt::TabFocusReason);
    }
    // The key still reaches the control, except Return in an edit box.
    return isReturn && inEdit && editNoBeep_;
}

} // namespace pemvora::widgets
