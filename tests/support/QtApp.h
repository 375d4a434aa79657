#pragma once
// The one application object of a test binary, created on first use.

#include <QCoreApplication>

namespace kalvex::test {

inline void EnsureCoreApp() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "kalvex-test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Base of fixtures whose members need the application object already.
struct WithCoreApp {
    WithCoreApp() { EnsureCoreApp(); }
};

} // namespace kalvex::test
