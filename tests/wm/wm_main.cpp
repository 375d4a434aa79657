// The window-manager tests' own start: a private Xvfb display with openbox, then the
// program's application object on it through the xcb platform. Only this binary leaves the
// offscreen platform the other window tests use.

#include "DataFolderPerTest.h"
#include "TAplicacion.h"
#include "WmDisplay.h"
#include "XServer.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CTest does it at build time) needs no display.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    kalvex::test::XServer display;
    if (!display.Start()) {
        kalvex::test::DisplayFailure() = display.Error();
        return RUN_ALL_TESTS();
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    // Declared after the display, so it is gone before the display ends.
    kalvex::test::DataFolderPerTest::Install();
    TAplicacion app(argc, argv);
    return RUN_ALL_TESTS();
}
