// Saves the whole screen of the X display as a PNG, for checks that drive the
// real program with xdotool under xvfb-run:
//
//   screen_grab OUT.png

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: screen_grab OUT.png\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot grab the screen into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
