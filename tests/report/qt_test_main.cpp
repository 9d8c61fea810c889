// Test main for suites that draw: our font configuration first, then a
// QGuiApplication (tests run on the offscreen platform).

#include "report/engine/fontmap.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    pemvora::report::loadFontConfiguration();
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
