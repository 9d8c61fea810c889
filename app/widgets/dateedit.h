#pragma once
// A date box with a calendar drop-down, for a narrow place in a form: one tab
// stop (Tab goes on to the next control, not to the next part of the date;
// the arrow keys, a click or a typed "-" move between year, month and day),
// and a slim drop-down button, so that a ten-character date such as
// 2026-12-20 shows whole in a box some 80 pixels wide.

#include <QDateEdit>

namespace pemvora::widgets {

class DateEdit : public QDateEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void restyle();
};

} // namespace pemvora::widgets
