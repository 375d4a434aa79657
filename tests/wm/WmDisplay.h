#pragma once
// The private display of a window-manager test binary (wm_main.cpp starts it).

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include <string>

namespace kalvex::test {

// Why the display with its window manager could not be had; empty when the tests run on it.
inline std::string& DisplayFailure() {
    static std::string failure;
    return failure;
}

// Without the display these tests prove nothing: in CI that is a failure, on a developer's
// machine without Xvfb or openbox a skip.
#define KALVEX_REQUIRE_WINDOW_MANAGER()                                                            \
    do {                                                                                           \
        if (!::kalvex::test::DisplayFailure().empty()) {                                           \
            if (qgetenv("CI") == "true")                                                           \
                FAIL() << "no X display with a window manager: "                                   \
                       << ::kalvex::test::DisplayFailure();                                        \
            GTEST_SKIP() << "no X display with a window manager: "                                 \
                         << ::kalvex::test::DisplayFailure();                                      \
        }                                                                                          \
    } while (false)

} // namespace kalvex::test
