// Choices the settings file cannot keep (a full or read-only disk): the user is told which
// file and why, nothing restarts as if the choice had been stored, and the file stays byte for
// byte as it was, at exit too.

#include "Configuracion.h"
#include "Creacion_Ventanas.h"
#include "F_Language.h"
#include "F_Principal.h"
#include "FailingDisk.h"
#include "Idiomas.h"
#include "Instalacion_Abierta.h"
#include "ModalWatcher.h"
#include "PtyPair.h"
#include "TIniFile.h"
#include "Ventanas.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cerrno>
#include <functional>
#include <vector>

using namespace kalvex::test;

namespace {

class SettingsFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config.isValid());
        qputenv("KALVEX_CONFIG_DIR", config.path().toLocal8Bit());
    }
    void TearDown() override {
        Destruye_Ventanas();
        Libera_Fichero_Idiomas();
        qunsetenv("KALVEX_CONFIG_DIR");
    }
    QString File() const { return config.filePath(QStringLiteral("KALVEX.INI")); }
    QByteArray Stored() const {
        QFile f(File());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Settings of `size` bytes as an installer's grow: the port, the line log, the recent
    // installations, and the language unless idioma is false.
    void WriteSettings(qsizetype size, bool idioma = true) {
        QByteArray text = "[General]\r\nSys_Port=" + pty.SlavePath().toLocal8Bit() +
                          (idioma ? "\r\nIdioma=ENGLISH" : "") +
                          "\r\nLine_Log=0\r\n[Installation]\r\n";
        for (int i = 1; i <= 6; ++i)
            text += "Recent" + QByteArray::number(i) + '=' +
                    config.filePath(QStringLiteral("site%1.kalvex").arg(i)).toLocal8Bit() + "\r\n";
        text += "; " + QByteArray(qMax<qsizetype>(size - text.size() - 4, 0), '-') + "\r\n";
        // The installation used last is there (a missing one would be asked about).
        QFile(config.filePath(QStringLiteral("site1.kalvex"))).open(QIODevice::WriteOnly);
        QFile f(File());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    TF_Princ* Start() {
        Crea_Ventanas();
        TF_Princ* main = Ventanas().F_Princ;
        main->show();
        return main;
    }
    QString Said(const QString& consequence) const {
        return QStringLiteral("The settings could not be written to %1: %2.\n%3")
            .arg(File(), qt_error_string(EROFS), consequence);
    }

    QTemporaryDir config;
    PtyPair pty;
};

TEST_F(SettingsFailureTest, AChoiceTheSettingsCannotKeepIsSaidAndNothingRestarts) {
    const QString port = pty.SlavePath();
    const struct {
        const char* what;
        std::function<void(TF_Princ*)> choose;
        QString consequence;
    } cases[] = {
        {"a COM port",
         [](TF_Princ* main) { main->findChild<QAction*>(QStringLiteral("COM2"))->trigger(); },
         "The program goes on with the port " + port +
             " and is not restarted. Free some disk space or make the file writable, then "
             "choose the port again."},
        {"another port typed in",
         [](TF_Princ* main) {
             emit main->findChild<QMenu*>(QStringLiteral("SerialPort1"))->aboutToShow();
             main->findChild<QAction*>(QStringLiteral("Otro_Puerto"))->trigger();
         },
         "The program goes on with the port " + port +
             " and is not restarted. Free some disk space or make the file writable, then "
             "choose the port again."},
        {"a language",
         [](TF_Princ* main) { main->findChild<QAction*>(QStringLiteral("Language1"))->trigger(); },
         "The language stays ENGLISH and the program is not restarted. Free some disk space or "
         "make the file writable, then choose the language again."},
        {"the line log",
         [](TF_Princ* main) { main->findChild<QAction*>(QStringLiteral("LineLog1"))->trigger(); },
         "The change holds until the program is closed; the next start will not remember it. "
         "Free some disk space or make the file writable."},
        {"another installation",
         [this](TF_Princ* main) {
             main->Instalacion->Abre(config.filePath(QStringLiteral("other.kalvex")), main);
         },
         "The change holds until the program is closed; the next start will not remember it. "
         "Free some disk space or make the file writable."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteSettings(8928);
        const QByteArray before = Stored();
        // The language window's OK runs inside the watcher's look at it: the box it brings up
        // is closed by a watcher of its own.
        std::vector<ModalWatcher::Seen> overLanguage;
        ModalWatcher dialogs([&overLanguage](QWidget* w) {
            if (auto* ask = qobject_cast<QInputDialog*>(w)) {
                ask->setTextValue(QStringLiteral("/dev/ttyUSB7"));
                ask->accept();
            } else if (auto* lang = qobject_cast<TF_Lang*>(w)) {
                auto* list = lang->findChild<QTreeWidget*>(QStringLiteral("Lista"));
                list->setCurrentItem(
                    list->findItems(QStringLiteral("DEUTSCH"), Qt::MatchExactly)[0]);
                ModalWatcher inner;
                lang->findChild<QPushButton*>(QStringLiteral("B_OK"))->click();
                overLanguage = inner.Dialogs();
                EXPECT_TRUE(lang->isVisible()); // still there to cancel or try again
            }
        });
        TF_Princ* main = Start();
        {
            FailingDisk readOnly(EROFS);
            c.choose(main);
        }
        std::vector<ModalWatcher::Seen> seen = dialogs.Dialogs();
        seen.insert(seen.end(), overLanguage.begin(), overLanguage.end());
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back().name, "Aviso_Ajustes");
        EXPECT_EQ(seen.back().text, Said(c.consequence));
        EXPECT_TRUE(main->isVisible());
        EXPECT_EQ(Sys_Port, port);
        EXPECT_EQ(Idioma, "ENGLISH");
        EXPECT_EQ(Stored(), before);
        Destruye_Ventanas();
    }
}

TEST_F(SettingsFailureTest, ClosingOnAFullDiskKeepsTheFileWholeAndSpeaksOnlyOfAChoiceLost) {
    const struct {
        const char* what;
        bool idioma;                 // the file names the language
        QByteArray changedMeanwhile; // another port stored while this program ran
        QString said;                // empty: nothing is lost, no box
    } cases[] = {
        {"the settings add the language at exit", false, {}, {}},
        {"the file names another port by now", true, "COM3",
         QStringLiteral("The settings could not be written to %1: %2.\nThe next start will not "
                        "use the port %3 and the language ENGLISH of this session.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteSettings(5119, c.idioma);
        ModalWatcher dialogs;
        TF_Princ* main = Start();
        if (!c.changedMeanwhile.isEmpty())
            TIniFile(File()).WriteString(QStringLiteral("General"), QStringLiteral("Sys_Port"),
                                         QString::fromLatin1(c.changedMeanwhile));
        const QByteArray before = Stored();
        {
            FailingDisk full(ENOSPC, 3072);
            main->close();
        }
        EXPECT_FALSE(main->isVisible());
        EXPECT_EQ(Stored(), before);
        if (c.said.isEmpty()) {
            EXPECT_TRUE(dialogs.Dialogs().empty()) << dialogs.Dialogs().front().text.toStdString();
        } else {
            ASSERT_EQ(dialogs.Dialogs().size(), 1u);
            EXPECT_EQ(dialogs.Dialogs()[0].name, "Aviso_Ajustes");
            EXPECT_EQ(dialogs.Dialogs()[0].text,
                      c.said.arg(File(), qt_error_string(ENOSPC), pty.SlavePath()));
        }
        Destruye_Ventanas();
    }
}

} // namespace
