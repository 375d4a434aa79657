// One application object for a whole window-test binary: the program's own, whose notify
// shows an exception that leaves a handler in the error box, as in the running program. It
// lives on main's stack: destroyed as a static at exit, after Qt's own statics, it would
// crash the binary on its way out.

#include "DataFolderPerTest.h"
#include "TAplicacion.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // CTest lists the tests without the test environment, where no display may exist.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A port or language choice would start the test binary again: never, unless a test asks.
    if (!qEnvironmentVariableIsSet("KALVEX_NO_RESTART"))
        qputenv("KALVEX_NO_RESTART", "1");
    kalvex::test::DataFolderPerTest::Install();
    TAplicacion app(argc, argv);
    return RUN_ALL_TESTS();
}
