#pragma once
// An edit box with a small button at its right end; the button reports clicks.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace pemvora::widgets {

class ButtonEdit : public QWidget {
    Q_OBJECT
public:
    explicit ButtonEdit(QWidget* parent = nullptr);

    QLineEdit* edit() const { return edit_; }
    QToolButton* button() const { return button_; }
    QString text() const;
    void setText(const QString& text);   // no textEdited: set by the program

signals:
    void buttonClicked();
    void textEdited(const QString& text);   // typed by the user

private:
    QLineEdit* edit_;
    QToolButton* button_;
};

} // namespace pemvora::widgets
