#include "app/widgets/dateedit.h"

#include <QEvent>

namespace pemvora::widgets {

DateEdit::DateEdit(QWidget* parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat("yyyy-M-d");
    restyle();
}

void DateEdit::restyle()
{
    // A thin frame, no padding and a 12-pixel button leave the text 67 of
    // the box's 81 pixels. A styled box paints its own background: in the
    // palette's base colour, as an unstyled one would.
    const QString sheet = QString("QDateEdit { padding: 0px; border: 1px solid palette(dark); border-radius: 2px;"
                                  " background: %1; }"
                                  "QDateEdit::drop-down { width: 12px; }")
                              .arg(palette().color(QPalette::Base).name());
    if (sheet != styleSheet()) setStyleSheet(sheet);
}

void DateEdit::changeEvent(QEvent* event)
{
    QDateEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) restyle();
}

bool DateEdit::focusNextPrevChild(bool next)
{
    // Past the date's own sections: straight to the neighbouring control.
    return QWidget::focusNextPrevChild(next);
}

} // namespace pemvora::widgets
