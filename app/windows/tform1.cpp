#include "app/windows/tform1.h"

#include "app/startup/quit.h"

#include <QApplication>
#include <QCloseEvent>

namespace pemvora::app {

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("Form1");
    setWindowTitle("Pemvora V2.0");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(704, 369);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!confirmQuit(ui::services())) {
        event->ignore();
        return;
    }
    event->accept();
    QApplication::quit();
}

} // namespace pemvora::app
