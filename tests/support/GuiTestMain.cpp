// GoogleTest main for tests that draw with QtGui: fonts and painters need a
// QGuiApplication, on the offscreen platform.
#include "OffscreenPlatform.h"
#include "render/FontSubstitutions.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace solvena {


}  // namespace solvena

using namespace solvena;

int main(int argc, char** argv)
{
    useOffscreenPlatformUnlessSet();
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
