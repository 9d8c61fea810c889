#pragma once
// The cheque window, the program's main window.

#include <QMainWindow>

namespace pemvora::app {

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

protected:
    // Asks the quit question; No keeps the window and everything typed in it.
    void closeEvent(QCloseEvent* event) override;
};

} // namespace pemvora::app
