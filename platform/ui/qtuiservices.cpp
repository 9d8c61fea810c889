#include "platform/ui/qtuiservices.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace pemvora::ui {

void useQtServices()
{
    static QtUiServices qtServices;
    setProgramServices(&qtServices);
}

Answer QtUiServices::message(const std::string& text, const std::string& caption, Icon icon, Buttons buttons)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Error: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default: return Answer::Cancel;
    }
}

void QtUiServices::error(const std::string& text)
{
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                          QString::fromStdString(text));
}

std::optional<std::string> QtUiServices::password(const std::string& caption, const std::string& prompt)
{
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), QString::fromStdString(caption),
                                               QString::fromStdString(prompt), QLineEdit::Password, QString(), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::optional<std::string> QtUiServices::input(const std::string& caption, const std::string& prompt,
                                               const std::string& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), QString::fromStdString(caption),
                                               QString::fromStdString(prompt), QLineEdit::Normal,
                                               QString::fromStdString(initial), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

} // namespace pemvora::ui
