// Test main for suites that draw: our font configuration first, then a
// QGuiApplication (tests run on the offscreen platform).

#include "report/canvas/fontmap.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    pemvora::report::loadFontConfiguration();
    // Test discovery runs this program without the test environment.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr || *platform == '\0') ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
