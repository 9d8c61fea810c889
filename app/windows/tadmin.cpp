#include "app/windows/tadmin.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace pemvora::app {

Tadmin::Tadmin(LoginController& controller, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      controller_(controller)
{
    setObjectName("admin");
    setWindowTitle(QString::fromUtf8("Pemvora－登录"));

    name1 = new QComboBox(this);
    name1->setObjectName("name1");
    name1->setEditable(true);
    name1->setInsertPolicy(QComboBox::NoInsert);
    name1->setMinimumWidth(160);

    pass1 = new QLineEdit(this);
    pass1->setObjectName("pass1");
    pass1->setEchoMode(QLineEdit::Password);
    pass1->setStyleSheet("lineedit-password-character: 42");   // every character shown as "*"

    BitBtn1 = new QPushButton(QString::fromUtf8("登  录"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QString::fromUtf8("退  出"), this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setAutoDefault(false);
    Button1 = new QPushButton(this);
    Button1->setObjectName("Button1");
    Button1->hide();

    Label22 = new QLabel(QString::fromUtf8("原始系统管理员登陆密码：579"), this);
    Label22->setObjectName("Label22");

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QString::fromUtf8("用户名"), this), 0, 0);
    fields->addWidget(name1, 0, 1);
    fields->addWidget(new QLabel(QString::fromUtf8("口  令"), this), 1, 0);
    fields->addWidget(pass1, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(Label22);
    layout->setSizeConstraint(QLayout::SetFixedSize);   // fixed single border

    setTabOrder(name1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    setTabOrder(BitBtn2, pass1);

    connect(BitBtn1, &QPushButton::clicked, this, &Tadmin::logInClicked);
    connect(BitBtn2, &QPushButton::clicked, this, &Tadmin::exitClicked);
}

void Tadmin::showEvent(QShowEvent* event)
{
    // The user list is filled each time the dialog is shown.
    name1->clear();
    for (const std::string& name : controller_.userList()) name1->addItem(QString::fromStdString(name));
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void Tadmin::reject() {}

void Tadmin::logInClicked()
{
    switch (controller_.logIn(name1->currentText().toStdString(), pass1->text().toStdString())) {
    case LoginController::Result::LoggedIn:
        accept();
        break;
    case LoginController::Result::EndApplication:
        endRequested_ = true;
        done(QDialog::Rejected);
        break;
    case LoginController::Result::TryAgain:
        name1->setFocus();
        pass1->clear();
        break;
    case LoginController::Result::Error:
        break;
    }
}

void Tadmin::exitClicked()
{
    endRequested_ = true;
    done(QDialog::Rejected);
}

} // namespace pemvora::app
