// Shows the amount grid header above an amount edit holding 5678.50, once
// unfocused and once focused, and saves a grab of the window as a PNG.
//
//   xvfb-run -a amountgrid_screenshot out.png

#include "controls/amountgrid/currencyedit.h"
#include "controls/amountgrid/currencylabel.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

using namespace pemvora::amountgrid;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: amountgrid_screenshot OUTPUT.png\n");
        return 2;
    }
    QFont font(QStringLiteral("WenQuanYi Zen Hei"));
    font.setPixelSize(12);
    QApplication::setFont(font);

    QWidget window;
    window.setWindowTitle(QStringLiteral("amount grid"));
    window.setFixedSize(165, 110);
    const QColor green(0, 0x80, 0);

    auto* header = new TsncCurrencyLabel(&window);
    header->setGeometry(10, 10, 145, 25);
    header->setGridLineColor(green);

    auto* edit = new TsncCurrencyEdit(&window);
    edit->setGeometry(10, 34, 145, 23);
    edit->setGridLineColor(green);
    edit->setValue(5678.5);

    // A second one with the focus, to show the caret and the focused colour.
    auto* focused = new TsncCurrencyEdit(&window);
    focused->setGeometry(10, 70, 145, 23);
    focused->setValue(5678.5);

    window.show();
    QTimer::singleShot(300, [&] {
        // No window manager activates the window under xvfb.
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        focused->setFocus();
        QTimer::singleShot(200, [&] {
            const QString path = QString::fromLocal8Bit(argv[1]);
            const QPixmap grab = window.grab();
            bool ok = grab.save(path);
            // And four times larger, pixel for pixel, for looking at the cells.
            QString large = path;
            large.replace(QStringLiteral(".png"), QStringLiteral("-x4.png"));
            ok = ok && grab.toImage().scaled(grab.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(large);
            std::printf("%s %s\n", ok ? "saved" : "could not save", argv[1]);
            app.exit(ok ? 0 : 1);
        });
    });
    return app.exec();
}
