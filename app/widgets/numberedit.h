#pragma once
// An edit box for a number with a button that drops down a small calculator.
// It reports every change the user makes (typing or the calculator's result)
// and gives its value as a number; an empty box holds no value.

#include <QWidget>

#include <optional>

class QLineEdit;
class QToolButton;

namespace pemvora::widgets {

class NumberEdit : public QWidget {
    Q_OBJECT
public:
    explicit NumberEdit(QWidget* parent = nullptr);

    QLineEdit* edit() const { return edit_; }
    QToolButton* button() const { return button_; }
    // Empty or unreadable text (such as a lone "-") has no value.
    std::optional<double> value() const;
    // Set by the program: no valueEdited. Left alone when it already shows
    // that value, so that text being typed ("12.") is not rewritten.
    void setValue(std::optional<double> value);
    void showCalculator();

signals:
    void valueEdited(std::optional<double> value);   // by the user; nothing for an empty box

private:
    void textEdited();

    QLineEdit* edit_;
    QToolButton* button_;
};

} // namespace pemvora::widgets
