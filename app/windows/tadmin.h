#pragma once
// The login dialog, a view over LoginController.

#include "app/login/login.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pemvora::app {

class Tadmin : public QDialog {
    Q_OBJECT
public:
    explicit Tadmin(LoginController& controller, QWidget* parent = nullptr);

    // True once the dialog asked for the end of the program (exit button or the
    // third failed attempt); the main window must then never appear.
    bool endRequested() const { return endRequested_; }

    QComboBox* name1 = nullptr;
    QLineEdit* pass1 = nullptr;
    QPushButton* BitBtn1 = nullptr;   // 登  录
    QPushButton* BitBtn2 = nullptr;   // 退  出
    QLabel* Label22 = nullptr;
    QPushButton* Button1 = nullptr;   // hidden: the shortcut is written by the controller

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;   // Esc does not close the dialog: only the two buttons do

private:
    void logInClicked();
    void exitClicked();

    LoginController& controller_;
    bool endRequested_ = false;
};

} // namespace pemvora::app
