#pragma once
// Saves a picture of a widget when PEMVORA_TEST_PICTURES names a folder, so
// that a person can look at what the tests show (run under xvfb-run).

#include "tests/support/test_pictures.h"

#include <QWidget>

#include <string>

namespace pemvora::testsupport {

inline void saveScreenshot(QWidget& widget, const char* name)
{
    if (const auto path = testPicturePath((std::string(name) + ".png").c_str())) widget.grab().save(*path);
}

} // namespace pemvora::testsupport
