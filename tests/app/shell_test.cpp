#include "BusSimulator.h"
#include "Configuracion.h"
#include "Conversion.h"
#include "Creacion_Ventanas.h"
#include "DECODER2.h"
#include "Enrutado.h"
#include "F_Language.h"
#include "F_Principal.h"
#include "Idiomas.h"
#include "LineEnd.h"
#include "ModalWatcher.h"
#include "PtyPair.h"
#include "TAplicacion.h"
#include "TIniFile.h"
#include "Ventanas.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kalvex::test;

namespace {

// A fresh configuration folder for each test, so no test reads or writes the user's files.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config.isValid());
        qputenv("KALVEX_CONFIG_DIR", config.path().toLocal8Bit());
    }
    void TearDown() override {
        Destruye_Ventanas();
        // Released by the main window's close, which not every test reaches.
        Libera_Fichero_Idiomas();
        qunsetenv("KALVEX_CONFIG_DIR");
    }

    void WriteSettings(const QString& port, const QString& idioma = QStringLiteral("ENGLISH")) {
        TIniFile ini(config.filePath(QStringLiteral("KALVEX.INI")));
        ini.WriteString(QStringLiteral("General"), QStringLiteral("Sys_Port"), port);
        ini.WriteString(QStringLiteral("General"), QStringLiteral("Idioma"), idioma);
    }
    QString StoredSetting(const QString& key) {
        return TIniFile(config.filePath(QStringLiteral("KALVEX.INI")))
            .ReadString(QStringLiteral("General"), key, QStringLiteral("<missing>"));
    }

    TF_Princ* Start() {
        Crea_Ventanas();
        TF_Princ* main = Ventanas().F_Princ;
        main->show();
        return main;
    }

    static QStringList CheckedPorts(TF_Princ* main) {
        QStringList checked;
        for (int n = 1; n <= 4; ++n)
            if (main->findChild<QAction*>(QStringLiteral("COM%1").arg(n))->isChecked())
                checked << QStringLiteral("COM%1").arg(n);
        return checked;
    }

    QTemporaryDir config;
};

TEST_F(ShellTest, FirstStartUsesTheDefaultsAndReportsThePortItCannotOpen) {
    ModalWatcher boxes;
    TF_Princ* main = Start();
    EXPECT_EQ(Sys_Port, "COM1");
    EXPECT_EQ(Idioma, "ENGLISH");
    EXPECT_EQ(CheckedPorts(main), QStringList{"COM1"});
    EXPECT_EQ(main->windowTitle(), "Kalvex 3.3");
    EXPECT_EQ(main->findChild<QLabel*>("Label3")->text(), "v3.3");
    EXPECT_EQ(main->findChild<QLabel*>("Label2")->text(),
              "Select the decoder type for programming :");
    // COM1 is the machine's first serial device: opened when there is one, else reported.
    if (!main->Decod1->Connected()) {
        ASSERT_EQ(boxes.Dialogs().size(), 1u);
        EXPECT_TRUE(boxes.Dialogs()[0].text.startsWith("Unable to open com port (system error "));
    } else {
        EXPECT_TRUE(boxes.Dialogs().empty());
    }
}

TEST_F(ShellTest, OnlyTheStoredPortIsChecked) {
    const struct {
        QString port;
        QStringList checked;
    } cases[] = {{"COM3", {"COM3"}}, {"COM12", {}}, {"", {}}, {"CO", {}}, {"/dev/x", {}}};
    for (const auto& c : cases) {
        WriteSettings(c.port);
        ModalWatcher boxes;
        TF_Princ* main = Start();
        EXPECT_EQ(CheckedPorts(main), c.checked) << c.port.toStdString();
        EXPECT_EQ(boxes.Dialogs().size(), main->Decod1->Connected() ? 0u : 1u);
        if (c.port != "COM3") { // no device has these names
            // The port's own message is the first line; the cause and its fix follow.
            EXPECT_EQ(boxes.Dialogs().at(0).text.section('\n', 0, 0),
                      "Unable to open com port (system error 2: No such file or directory)");
        }
        Destruye_Ventanas();
    }
}

TEST_F(ShellTest, TheStoredPortIsOpenedAndAPortChoiceEndsTheProgramAndIsStored) {
    PtyPair pty;
    WriteSettings(pty.SlavePath(), QStringLiteral("DEUTSCH"));
    ModalWatcher boxes;
    TF_Princ* main = Start();
    EXPECT_TRUE(main->Decod1->Connected());
    EXPECT_TRUE(boxes.Dialogs().empty());
    EXPECT_EQ(Idioma, "DEUTSCH");

    main->findChild<QAction*>("COM2")->trigger();
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(main->Decod1->Connected());
    EXPECT_EQ(StoredSetting("Sys_Port"), "COM2");
    EXPECT_EQ(StoredSetting("Idioma"), "DEUTSCH");
}

TEST_F(ShellTest, ClosingKeepsTheRestOfTheSettingsFile) {
    const QByteArray original =
        "; written by hand\r\n[General]\r\nSys_Port=COM4\r\nNote=keep me\r\n\r\n[Other]\r\nx=1\r\n";
    QFile f(config.filePath("KALVEX.INI"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(original);
    f.close();
    ModalWatcher boxes;
    Start()->close();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray after = f.readAll();
    EXPECT_TRUE(
        after.startsWith("; written by hand\r\n[General]\r\nSys_Port=COM4\r\nNote=keep me\r\n"));
    EXPECT_TRUE(after.contains("Idioma=ENGLISH"));
    EXPECT_TRUE(after.contains("[Other]\r\nx=1"));
}

TEST_F(ShellTest, TheModelListHoldsTwelveEntriesAndIgnoresTypedKeys) {
    ModalWatcher boxes;
    TF_Princ* main = Start();
    auto* list = main->findChild<QComboBox*>("C1");
    ASSERT_EQ(list->count(), 12);
    EXPECT_EQ(list->itemText(0), "6713 - Audio Decoder 4");
    EXPECT_TRUE(list->itemText(11).startsWith("6786 - "));
    EXPECT_GE(list->maxVisibleItems(), 12);
    // Nothing is chosen at start, so Go! alone opens no editor and routes nothing.
    EXPECT_EQ(list->currentText(), "");
    QTest::mouseClick(main->findChild<QPushButton*>("B_Go"), Qt::LeftButton);
    EXPECT_EQ(Enrutado().Modelo_Activo, 0);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_TRUE(w == main || !w->isVisible()) << w->objectName().toStdString();
    list->setCurrentIndex(4);
    QTest::keyClicks(list, "9x ");
    EXPECT_EQ(list->currentIndex(), 4);
    EXPECT_EQ(list->currentText(), "6745 - Audio Decoder 4");
}

TEST_F(ShellTest, GoOpensTheChosenModelsEditorAndRoutesItsFrames) {
    PtyPair pty; // the editors' closing frames need an open line
    WriteSettings(pty.SlavePath());
    ModalWatcher boxes;
    TF_Princ* main = Start();
    ASSERT_TRUE(main->Decod1->Connected());
    auto* list = main->findChild<QComboBox*>("C1");
    const struct {
        int reference;
        const char* editor;
        int code;
    } cases[] = {{6759, "F_Decoder_6759", 1},  {6745, "F_Decoder_6745", 2},
                 {6746, "F_Decoder_6746", 3},  {6747, "F_Decoder_6747", 4},
                 {6721, "F_Decoder_6721", 5},  {6722, "F_Decoder_6722", 6},
                 {6763, "F_Decoder_6763", 7},  {6734, "F_Decoder_6734", 8},
                 {6758, "F_Decoder_6758", 9},  {6713, "F_Decoder_6713", 10},
                 {6775, "F_Decoder_6775", 11}, {6786, "F_Decoder_6786_II", 12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reference);
        list->setCurrentIndex(list->findText(QString::number(c.reference), Qt::MatchStartsWith));
        QTest::mouseClick(main->findChild<QPushButton*>("B_Go"), Qt::LeftButton);
        EXPECT_EQ(Enrutado().Modelo_Activo, c.code);
        QWidget* shown = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != main && w->isVisible())
                shown = w;
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->objectName(), c.editor);
        EXPECT_EQ(shown->findChild<QLabel*>("Label14")->text(), list->currentText());
        shown->close();
        EXPECT_EQ(Enrutado().Modelo_Activo, 0);
    }
    const struct {
        const char* item;
        const char* window;
    } items[] = {{"est1", "F_Test"}, {"Reprogramming2", "F_Reprogram"}};
    for (const auto& i : items) {
        main->findChild<QAction*>(i.item)->trigger();
        QWidget* w = nullptr;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->objectName() == i.window)
                w = t;
        ASSERT_NE(w, nullptr) << i.window;
        EXPECT_TRUE(w->isVisible() && !w->isModal()) << i.window;
        w->close();
    }
    main->findChild<QAction*>("About2")->trigger();
    EXPECT_TRUE(boxes.Saw("AboutBox"));
}

TEST_F(ShellTest, AMissingKeyOrSectionShowsTheMarker) {
    // A language file of the user's own, found in the configuration folder first.
    QFile f(config.filePath("KALVEX_LANG.INI"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[SHORT]\r\nList_6713=Four\r\nGEN_MEN09=Quit\r\n");
    f.close();
    for (const char* idioma : {"SHORT", "ITALIANO"}) {
        WriteSettings("", idioma);
        ModalWatcher boxes;
        TF_Princ* main = Start();
        auto* list = main->findChild<QComboBox*>("C1");
        EXPECT_EQ(list->itemText(11), QString::fromUtf8("6786 - \u00BF?"));
        EXPECT_EQ(list->itemText(0),
                  QString(idioma) == "SHORT" ? "6713 - Four" : QString::fromUtf8("6713 - \u00BF?"));
        EXPECT_EQ(main->findChild<QLabel*>("Label2")->text(), QString::fromUtf8("\u00BF?"));
        Destruye_Ventanas();
    }
}

TEST_F(ShellTest, HelpPagesFollowTheLanguageExactly) {
    const struct {
        QString idioma, page;
    } cases[] = {{QString::fromUtf8("ESPA\u00D1OL"), "KALVEXHELP.html"},
                 {"ENGLISH", "KALVEXHELPINGLES.html"},
                 {QString::fromUtf8("FRAN\u00C7AIS"), "KALVEXHELPFRANCES.html"},
                 {"DEUTSCH", "KALVEXHELPALEMAN.html"},
                 {"deutsch", "KALVEXHELPINGLES.html"},
                 {"ITALIANO", "KALVEXHELPINGLES.html"}};
    for (const auto& c : cases) {
        const QString path = TF_Princ::Fichero_Ayuda(c.idioma);
        EXPECT_TRUE(path.endsWith("/" + c.page)) << path.toStdString();
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    }
}

TEST_F(ShellTest, AnExceptionLeavingAHandlerIsShownAndTheProgramGoesOn) {
    ModalWatcher boxes;
    QTimer::singleShot(0, [] { StrToInt("12 4"); });
    QTimer::singleShot(0, [] { throw EDecoderBusy(); });
    ASSERT_TRUE(WaitUntil([&] { return boxes.Dialogs().size() == 2; }));
    // The second box opens inside the first one's wait, so it is seen first.
    QStringList texts{boxes.Dialogs()[0].text, boxes.Dialogs()[1].text};
    EXPECT_TRUE(texts.contains("'12 4' is not a valid integer value"));
    // The busy refusal speaks the user's language: no language file is open here.
    EXPECT_TRUE(texts.contains(QString::fromUtf8("\u00BF?")));
}

TEST_F(ShellTest, UnsolicitedFramesWithNoEditorOpenAreDropped) {
    kalvex::sim::BusSimulator sim(kalvex::sim::ParseInstallation(
        "[hall]\nmodel = 6745\nserves = 0025\ncodes = 1234 1235 - 0007\n", "t"));
    const QString link = config.filePath("tty");
    sim.Start(link.toStdString());
    WriteSettings(link);
    ModalWatcher boxes;
    TF_Princ* main = Start();
    ASSERT_TRUE(main->Decod1->Connected());
    EXPECT_EQ(Enrutado().Modelo_Activo, 0);
    sim.PressButton("hall");
    // The decoder sends its first frame and waits for an acknowledgement that never comes.
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(
        sim.WaitForFrames(kalvex::sim::Direction::FromProgram, 1, std::chrono::milliseconds(50)),
        false);
}

TEST_F(ShellTest, ANewLanguageIsStoredAndEndsTheProgram) {
    WriteSettings("");
    bool chose = false;
    ModalWatcher dialogs([&](QWidget* w) {
        if (auto* lang = qobject_cast<TF_Lang*>(w)) {
            auto* list = lang->findChild<QTreeWidget*>("Lista");
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                if (list->topLevelItem(i)->text(0) == "DEUTSCH")
                    list->setCurrentItem(list->topLevelItem(i));
            lang->findChild<QPushButton*>("B_OK")->click();
            chose = true;
        }
    });
    TF_Princ* main = Start();
    main->findChild<QAction*>("Language1")->trigger();
    EXPECT_TRUE(chose);
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(StoredSetting("Idioma"), "DEUTSCH");
}

} // namespace
