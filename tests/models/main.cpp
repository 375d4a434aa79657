// The application object lives on main's stack: destroyed as a static at exit, after Qt's own
// statics, it would crash the test binary on its way out.

#include "TAplicacion.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // CTest lists the tests without the test environment, where no display may exist.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TAplicacion app(argc, argv);
    return RUN_ALL_TESTS();
}
