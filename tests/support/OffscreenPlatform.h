#pragma once
// Tests draw on Qt's offscreen platform unless told otherwise. gtest_discover_tests
// runs the binaries at build time, without the environment CTest gives them later.

#include <QByteArray>
#include <QtGlobal>

namespace solvena {

inline void useOffscreenPlatformUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
}

}  // namespace solvena
