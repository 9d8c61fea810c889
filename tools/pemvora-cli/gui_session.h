#pragma once
// Commands that draw, measure text or talk to printers need Qt's GUI side.
// ensureGuiSession() loads our font configuration, creates the
// QGuiApplication once, on the offscreen platform when there is no display,
// and has the engine's printing go to the system printers.

#include "report/canvas/fontmap.h"
#include "report/printer/qt_printer.h"

#include <QGuiApplication>

#include <cstdlib>

namespace pemvora::cli {

inline void ensureGuiSession()
{
    if (QCoreApplication::instance() != nullptr) return;
    report::loadFontConfiguration();
    const auto unset = [](const char* name) {
        const char* v = std::getenv(name);
        return v == nullptr || *v == '\0';
    };
    if (unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Running as a service user without a session directory is normal for a
    // command-line tool; Qt's note about it is not news for the user.
    static QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
            if (previous) previous(type, context, message);
        });
    static int argc = 1;
    static char name[] = "pemvora-cli";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    report::installSystemPrinters();
}

} // namespace pemvora::cli
