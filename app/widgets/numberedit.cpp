#include "app/widgets/numberedit.h"

#include "app/widgets/calculator.h"
#include "platform/value/numbertext.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>

#include <functional>
#include <string>

namespace pemvora::widgets {

namespace {

// The drop-down calculator: a display over a keypad; "=" or "OK" hands the
// result back and closes it.
class CalculatorPopup : public QFrame {
public:
    CalculatorPopup(double start, std::function<void(double)> accept, QWidget* parent)
        : QFrame(parent, Qt::Popup), calc_(start), accept_(std::move(accept))
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        display_ = new QLabel(this);
        display_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        display_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        auto* grid = new QGridLayout(this);
        grid->setSpacing(2);
        grid->setContentsMargins(3, 3, 3, 3);
        grid->addWidget(display_, 0, 0, 1, 4);
        const char* keys[] = {"C", "<", "/", "*", "7", "8", "9", "-", "4", "5", "6", "+",
                              "1", "2", "3", "=", "0", ".", "OK"};
        int i = 0;
        for (const char* key : keys) {
            auto* b = new QPushButton(QString::fromLatin1(key), this);
            b->setFocusPolicy(Qt::NoFocus);
            b->setFixedSize(key == std::string("OK") ? 58 : 28, 22);
            const int row = 1 + i / 4, col = i % 4;
            grid->addWidget(b, row, col, 1, key == std::string("OK") ? 2 : 1);
            i += key == std::string("OK") ? 2 : 1;
            const std::string k = key;
            connect(b, &QPushButton::clicked, this, [this, k] { pressed(k); });
        }
        refresh();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const QString t = event->text();
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) pressed("OK");
        else if (event->key() == Qt::Key_Backspace) pressed("<");
        else if (event->key() == Qt::Key_Escape) close();
        else if (t.size() == 1 && QString("0123456789.+-*/=").contains(t)) pressed(t.toStdString());
        else if (t.compare("c", Qt::CaseInsensitive) == 0) pressed("C");
        else QFrame::keyPressEvent(event);
    }

private:
    void pressed(const std::string& key)
    {
        if (key == "OK") {
            calc_.press('=');
            if (const auto v = calc_.value()) accept_(*v);
            close();
            return;
        }
        calc_.press(key[0]);
        refresh();
    }
    void refresh() { display_->setText(QString::fromStdString(calc_.display())); }

    Calculator calc_;
    std::function<void(double)> accept_;
    QLabel* display_;
};

} // namespace

NumberEdit::NumberEdit(QWidget* parent) : QWidget(parent)
{
    edit_ = new QLineEdit(this);
    edit_->setValidator(new QRegularExpressionValidator(QRegularExpression(R"(-?\d{0,13}(\.\d{0,2})?)"), edit_));
    button_ = new QToolButton(this);
    button_->setText(QStringLiteral("▾"));
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setFixedWidth(16);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(button_);
    setFocusProxy(edit_);
    connect(edit_, &QLineEdit::textEdited, this, &NumberEdit::textEdited);
    connect(button_, &QToolButton::clicked, this, &NumberEdit::showCalculator);
}

std::optional<double> NumberEdit::value() const
{
    return parseNumber(edit_->text().toStdString());
}

void NumberEdit::setValue(std::optional<double> value)
{
    if (value == this->value()) return;
    edit_->setText(value ? QString::fromStdString(formatNumber(*value)) : QString());
}

void NumberEdit::textEdited()
{
    emit valueEdited(value());
}

void NumberEdit::showCalculator()
{
    auto* popup = new CalculatorPopup(value().value_or(0),
                                      [this](double result) {
                                          edit_->setText(QString::fromStdString(formatNumber(result)));
                                          emit valueEdited(std::optional<double>(result));
                                      },
                                      this);
    popup->adjustSize();
    popup->move(mapToGlobal(QPoint(0, height())));
    popup->show();
}

} // namespace pemvora::widgets
