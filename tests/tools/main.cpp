// One application object for the whole binary: the program's own, whose notify shows an
// exception that leaves a handler in the error box, as in the running program.

#include "TAplicacion.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // also when CTest lists the tests
    TAplicacion app(argc, argv);
    return RUN_ALL_TESTS();
}
