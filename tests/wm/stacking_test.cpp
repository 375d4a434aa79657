// Modal messages under a real window manager: the editors stay on top, so a message that is
// not kept above them opens hidden behind one, and the program looks hung. Each test shows a
// message the way the program does and asks the X server whether any window stacked above it
// overlaps it.

#include "InstallationTest.h"
#include "UF_Decoder.h"
#include "WmDisplay.h"
#include "XStacking.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <map>
#include <stdexcept>

using namespace kalvex::test;

namespace {

const char* Installation = R"(
[hall]
model = 6745
codes = 1111 1112 1113 1114

[eight]
model = 6746
codes = 1001 1002 1003 1004 1005 1006 1007 1008
)";

// The program's window with that id by its object name, another program's by its id.
QString XName(XId id) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->internalWinId() == id)
            return w->objectName();
    return QString::fromStdString(Hex(id));
}

// What the user sees of a modal window once the window manager has placed it: empty when
// nothing hides any part of it.
QString Obstruction(QWidget* dialog) {
    const XId id = dialog->winId();
    QString why = QStringLiteral("never shown by the window manager");
    WaitUntil(
        [&] {
            const std::optional<std::vector<XId>> covering = WindowsCovering(id);
            if (!covering)
                return false;
            QStringList names;
            for (XId above : *covering)
                names << XName(above);
            why = names.isEmpty()
                      ? QString()
                      : QStringLiteral("covered by ") + names.join(QStringLiteral(", "));
            return names.isEmpty();
        },
        8000);
    return why;
}

QString NameOf(QWidget* w) {
    return qobject_cast<QMessageBox*>(w) ? QStringLiteral("error box") : w->objectName();
}

class StackingTest : public InstallationTest {
protected:
    void SetUp() override {
        KALVEX_REQUIRE_WINDOW_MANAGER();
        Start(Installation);
        // As at start-up: the main window on screen, the editors opened from it.
        main->show();
        ASSERT_TRUE(WaitUntil([&] { return WindowsCovering(main->winId()).has_value(); }, 8000));
        // Each modal window is looked at on the display while it is up, then closed.
        inspect = [this](QWidget* w) {
            seen_[NameOf(w)] = Obstruction(w);
            owner_[NameOf(w)] = XName(TransientFor(w->winId()));
        };
    }
    void TearDown() override {
        if (DisplayFailure().empty())
            InstallationTest::TearDown();
        EndProgram(other_program_);
    }

    TF_Decoder* Go(int referencia) {
        auto* list = main->findChild<QComboBox*>(QStringLiteral("C1"));
        list->setCurrentIndex(list->findText(QString::number(referencia), Qt::MatchStartsWith));
        QTest::mouseClick(main->findChild<QPushButton*>(QStringLiteral("B_Go")), Qt::LeftButton);
        TF_Decoder* editor = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* e = qobject_cast<TF_Decoder*>(w); e && e->isVisible())
                editor = e;
        EXPECT_TRUE(editor) << "no editor for " << referencia;
        // On screen and active, as the program leaves it, before anything else is asked.
        if (editor) {
            EXPECT_TRUE(WaitUntil(
                [&] {
                    return QApplication::activeWindow() == editor &&
                           WindowsCovering(editor->winId()).has_value();
                },
                8000));
        }
        return editor;
    }
    // For a moment after a message closes, the program gives the focus back to the message's
    // window whatever took it; a click that lands in that moment is undone, and the user clicks
    // again.
    void ActivateMain() {
        const auto active = [&] { return QApplication::activeWindow() == main; };
        for (int click = 0; click < 8; ++click) {
            ASSERT_TRUE(ActivateAsUser(main->winId()));
            if (WaitUntil(active, 1000)) {
                QTest::qWait(300);
                if (active())
                    return;
            }
        }
        FAIL() << "the main window never kept the focus";
    }
    // Another program takes the focus, as when the installer works elsewhere while the decoder
    // sends.
    void ActivateOtherProgram() {
        other_program_ = SpawnProgram({"xmessage", "-center", "another program"});
        ASSERT_GT(other_program_, 0);
        ASSERT_TRUE(WaitUntil([] { return QApplication::activeWindow() == nullptr; }, 8000));
    }

    void ExpectUncovered(const QString& name) {
        ASSERT_TRUE(seen_.count(name)) << name.toStdString() << " was not shown";
        EXPECT_EQ(seen_[name].toStdString(), "") << name.toStdString();
        seen_.erase(name);
    }

    std::map<QString, QString> seen_;  // what covered each modal window shown
    std::map<QString, QString> owner_; // the window each one said it belongs to
    pid_t other_program_ = 0;
};

TEST_F(StackingTest, TheSaveResultIsAboveTheEditor) {
    TF_Decoder* editor = Go(6745);
    ASSERT_TRUE(editor);
    ReadOut("hall");
    QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("B_Save")), Qt::LeftButton);
    ExpectUncovered(QStringLiteral("F_Mensa05"));

    // A write that is never answered: the failure message.
    sim->SetFault(kalvex::sim::Fault{kalvex::sim::FaultKind::Silent, 0, 0x00, -1});
    QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("B_Save")), Qt::LeftButton);
    ExpectUncovered(QStringLiteral("F_Mensa01"));
}

// The decoder's frame opens this message, so the window that has the focus then may not be the
// editor it belongs to. The window manager is told which window it belongs to: the one the user
// works in, or when that is another program's, the editor.
TEST_F(StackingTest, TheWrongDecoderMessageIsAboveTheEditorWhateverHasTheFocus) {
    const struct {
        const char* focus;
        const char* owner;
    } cases[] = {{"the editor", "F_Decoder_6745"},
                 {"the main window", "F_Princ"},
                 {"another program", "F_Decoder_6745"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.focus);
        TF_Decoder* editor = Go(6745);
        ASSERT_TRUE(editor);
        if (c.focus == std::string("the main window"))
            ActivateMain();
        else if (c.focus == std::string("another program"))
            ActivateOtherProgram();
        sim->PressButton("eight");
        ASSERT_TRUE(WaitUntil([&] { return !editor->isVisible(); }, 8000));
        EXPECT_EQ(owner_[QStringLiteral("F_Mensa00")].toStdString(), c.owner);
        ExpectUncovered(QStringLiteral("F_Mensa00"));
        EndProgram(other_program_);
    }
}

// An error can leave any handler, a frame's as well as a click's.
TEST_F(StackingTest, TheErrorBoxIsAboveAnOpenEditorWhateverHasTheFocus) {
    TF_Decoder* editor = Go(6745);
    ASSERT_TRUE(editor);
    editor->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("12 4"));
    QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    ExpectUncovered(QStringLiteral("error box"));

    for (const char* focus : {"the main window", "another program"}) {
        SCOPED_TRACE(focus);
        if (focus == std::string("the main window"))
            ActivateMain();
        else
            ActivateOtherProgram();
        QTimer::singleShot(0, [] { throw std::runtime_error("the line failed"); });
        ASSERT_TRUE(WaitUntil([&] { return seen_.count(QStringLiteral("error box")) > 0; }));
        ExpectUncovered(QStringLiteral("error box"));
    }
}

// Closing a message puts the user back where they were working: the editor after its Save, the
// Installation window after its box, not the main window behind them.
TEST_F(StackingTest, ClosingAMessageGivesTheFocusBackToItsWindow) {
    TF_Decoder* editor = Go(6745);
    ASSERT_TRUE(editor);
    ReadOut("hall");
    // Closed as the user does, with the focus in it.
    inspect = [this](QWidget* w) {
        seen_[NameOf(w)] = QString();
        EXPECT_TRUE(WaitUntil([w] { return QApplication::activeWindow() == w; }, 8000));
        static_cast<QDialog*>(w)->accept();
    };
    const auto active = [] {
        const QWidget* w = QApplication::activeWindow();
        return w ? NameOf(const_cast<QWidget*>(w)).toStdString() : std::string("none");
    };
    QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("B_Save")), Qt::LeftButton);
    EXPECT_TRUE(seen_.count(QStringLiteral("F_Mensa05")));
    EXPECT_TRUE(WaitUntil([&] { return QApplication::activeWindow() == editor; }, 8000))
        << active();

    main->findChild<QAction*>(QStringLiteral("Mostrar1"))->trigger();
    QWidget* installation = QApplication::activeWindow();
    ASSERT_TRUE(WaitUntil(
        [&] {
            installation = QApplication::activeWindow();
            return installation && installation->objectName() == "F_Instalacion";
        },
        8000));
    QTimer::singleShot(0, [] { throw std::runtime_error("the record failed"); });
    ASSERT_TRUE(WaitUntil([&] { return seen_.count(QStringLiteral("error box")) > 0; }));
    EXPECT_TRUE(WaitUntil([&] { return QApplication::activeWindow() == installation; }, 8000))
        << active();
}

// The menu windows, opened from the main window while an editor stays on top.
TEST_F(StackingTest, TheLanguageAndAboutWindowsAreAboveAnOpenEditor) {
    ASSERT_TRUE(Go(6745));
    for (const char* item : {"Language1", "About2"}) {
        ActivateMain();
        main->findChild<QAction*>(QString::fromLatin1(item))->trigger();
    }
    ExpectUncovered(QStringLiteral("F_Lang"));
    ExpectUncovered(QStringLiteral("AboutBox"));
}

} // namespace
