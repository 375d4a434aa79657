#pragma once
// The service windows against a simulated installation: a fresh configuration folder whose
// settings name the simulator's line, every window created as at start-up, and the frames the
// program wrote read back from the simulator's log.

#include "InstallationTest.h"
#include "UF_Reprogram.h"
#include "UF_Reprogram_Coinc.h"
#include "UF_Test.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

namespace kalvex::test {

class ToolsTest : public InstallationTest {
protected:
    template <typename T = QWidget> static T* Child(QWidget* w, const char* name) {
        T* c = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // Near the left edge: a radio button stretched by its layout takes clicks only on its
    // indicator and caption.
    static void Click(QWidget* w, const char* name) {
        auto* b = Child<QAbstractButton>(w, name);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    }
    static void Type(QWidget* w, const char* edit, const QString& keys) {
        QTest::keyClicks(Child<QLineEdit>(w, edit), keys);
    }

    size_t SentCount(const std::string& frame) const {
        size_t n = 0;
        for (const std::string& f : Sent())
            n += f == frame;
        return n;
    }
    // Frames written without a reply reach the simulator's log a moment later.
    bool WaitSent(size_t count) const {
        return sim->WaitForFrames(kalvex::sim::Direction::FromProgram, count,
                                  std::chrono::milliseconds(2000));
    }
    // The read-out a programming request started has ended: its identification frame has
    // been acknowledged, so the next query's reply cannot be a read-out frame.
    bool WaitReadOut() const {
        return WaitUntil([&] {
            for (const std::string& f : Sent())
                if (f.rfind("20 40", 0) == 0)
                    return true;
            return false;
        });
    }
    // Nothing more reaches the line for a while.
    bool Quiet() const {
        return !sim->WaitForFrames(kalvex::sim::Direction::FromProgram, Sent().size() + 1,
                                   std::chrono::milliseconds(300));
    }
};

} // namespace kalvex::test
