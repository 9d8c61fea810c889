#pragma once
// Saves a picture of a widget when PEMVORA_SCREENSHOT_DIR names a folder, so
// that a person can look at what the tests show (run under xvfb-run).

#include <QString>
#include <QWidget>

#include <cstdlib>

namespace pemvora::testsupport {

inline void saveScreenshot(QWidget& widget, const char* name)
{
    const char* dir = std::getenv("PEMVORA_SCREENSHOT_DIR");
    if (!dir || !*dir) return;
    widget.grab().save(QString::fromUtf8(dir) + "/" + QString::fromUtf8(name) + ".png");
}

} // namespace pemvora::testsupport
