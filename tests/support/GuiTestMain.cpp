// GoogleTest main for tests that draw with QtGui: fonts and painters need a
// QGuiApplication. gtest_discover_tests runs the binary at build time, so the
// offscreen platform is chosen here when nothing else was asked for.
#include "render/FontSubstitutions.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
