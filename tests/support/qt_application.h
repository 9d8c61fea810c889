#pragma once
// The one QApplication of a widget test program, made on first use.

#include <QApplication>

namespace pemvora::testsupport {

// Never destroyed: Qt's own statics (the test input devices) may be gone by
// the time static objects are destroyed at exit.
inline QApplication& testApplication()
{
    static int argc = 1;
    static char name[] = "pemvora-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

} // namespace pemvora::testsupport
