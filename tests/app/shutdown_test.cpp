// Ending the program while work is under way: what runs ends first, open editors send their
// closing frames while the line is still open, then the port closes and the settings are
// written, with no error box on the way out.

#include "DECODER2.h"
#include "Enrutado.h"
#include "InstallationTest.h"
#include "Modelos.h"
#include "PtyPair.h"
#include "UF_Decoder.h"
#include "UF_Test.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace kalvex::test;

namespace {

class ShutdownTest : public InstallationTest {
protected:
    size_t Count(const std::string& frame) const {
        const auto sent = Sent();
        return static_cast<size_t>(std::count(sent.begin(), sent.end(), frame));
    }
    bool Ended() const { return !main->isVisible() && !main->Decod1->Connected(); }
};

TEST_F(ShutdownTest, ClosingDuringADevicesTestStopsTheTestFirstAndEndsWithoutAnErrorBox) {
    Start("[hall]\nmodel = 6745\ncodes = 1234 - - -\n");
    main->show();
    TF_Test* test = Ventanas().F_Test;
    test->show();
    test->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("0100"));
    test->findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("0199"));
    sim->ClearLog();
    // Silent codes take 0.75 s each: the close comes while the second one waits.
    QTimer::singleShot(1000, main, [this] { main->close(); });
    QTest::mouseClick(test->findChild<QPushButton*>(QStringLiteral("B_START")), Qt::LeftButton);

    ASSERT_TRUE(WaitUntil([&] { return Ended(); }));
    EXPECT_TRUE(test->findChild<QPushButton*>(QStringLiteral("B_START"))->isEnabled());
    // The range was cut short, each query whole (three attempts of the same request).
    EXPECT_LT(Sent().size(), 12u);
    EXPECT_EQ(Sent().size() % 3, 0u);
    EXPECT_TRUE(dialogs->Dialogs().empty()) << dialogs->Dialogs().front().text.toStdString();
    EXPECT_EQ(TIniFile(config.filePath(QStringLiteral("KALVEX.INI")))
                  .ReadString(QStringLiteral("General"), QStringLiteral("Sys_Port"), {}),
              config.filePath(QStringLiteral("tty")));
}

TEST_F(ShutdownTest, ClosingWithEditorsOpenSendsTheirClosingFramesBeforeThePortCloses) {
    Start("[hall]\nmodel = 6745\n[sensors]\nmodel = 6758\n");
    main->show();
    for (int referencia : {6745, 6758})
        Editor_Por_Referencia(referencia)->show();
    sim->ClearLog();
    main->close();
    ASSERT_TRUE(Ended());
    // Each closing frame is written twice.
    EXPECT_TRUE(WaitUntil([&] { return Count("50 20 FF 9F") == 2 && Count("50 20 FF AF") == 2; }))
        << Trace();
    for (int referencia : {6745, 6758})
        EXPECT_FALSE(Editor_Por_Referencia(referencia)->isVisible());
    EXPECT_EQ(Enrutado().Modelo_Activo, 0);
    EXPECT_TRUE(dialogs->Dialogs().empty());
}

TEST_F(ShutdownTest, ClosingDuringASaveLetsTheSaveFinishOnTheLine) {
    Start("[eight]\nmodel = 6746\ncodes = 1001 1002 1003 1004 1005 1006 1007 1008\n");
    main->show();
    TF_Decoder* editor = Editor_Por_Referencia(6746);
    editor->show();
    Enrutado().Modelo_Activo = Modelo_Por_Referencia(6746)->Codigo;
    // The decoder takes writes only in programming mode, after its read-out.
    ReadOut("eight");
    for (int k = 1; k <= 8; ++k)
        editor->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(k))
            ->setText(QString::number(2000 + k));
    sim->ClearLog();
    QTimer::singleShot(20, main, [this] { main->close(); });
    QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("B_Save")), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return Ended(); }));
    // Every output was written before the line closed.
    EXPECT_NE(sim->Dump(0).find("2001 2002 2003 2004 2005 2006 2007 2008"), std::string::npos)
        << sim->Dump(0) << Trace();
    EXPECT_TRUE(dialogs->Saw(QStringLiteral("F_Mensa05")));
}

} // namespace
