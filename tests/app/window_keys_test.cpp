// Every window shows the texts of exactly its own language keys. The language file used here
// gives each key its own name as text, so what a window shows names the keys it looked up; a
// key outside the file shows the missing-text marker.

#include "Creacion_Ventanas.h"
#include "F_About.h"
#include "F_Instalacion.h"
#include "F_Language.h"
#include "F_Mensa.h"
#include "F_Monitor.h"
#include "F_Plan_Codigos.h"
#include "F_Principal.h"
#include "Idiomas.h"
#include "ModalWatcher.h"
#include "Modelos.h"
#include "TIniFile.h"
#include "UF_Decoder_6734.h"
#include "UF_Decoder_6758.h"
#include "UF_Decoder_6759.h"
#include "UF_Decoder_6763.h"
#include "UF_Decoder_6775.h"
#include "UF_Decoder_6775_Help.h"
#include "UF_Decoder_6786.h"
#include "UF_Decoder_Llamada.h"
#include "UF_Reprogram.h"
#include "UF_Reprogram_Coinc.h"
#include "UF_Sondeo.h"
#include "UF_Test.h"
#include "Ventanas.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <functional>
#include <string>
#include <vector>

using namespace kalvex::test;

namespace {

QSet<QString> Keys(const QString& list) {
    const QStringList keys = list.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return {keys.begin(), keys.end()};
}

const QString kCallEditor = QStringLiteral(
    "GEN_MEN014 GEN_MEN015 GEN_MEN01 GEN_MEN02 GEN_MEN03 GEN_MEN04 GEN_MEN09 GEN_MEN010 "
    "GEN_MEN011 GEN_MEN012");
// The 6758 editor fills its time-unit choosers (GEN_MEN07, GEN_MEN08) when it is shown.
const QString kOutputsEditor = QStringLiteral(
    "GEN_MEN00 GEN_MEN01 GEN_MEN02 GEN_MEN03 GEN_MEN04 GEN_MEN05 GEN_MEN09 GEN_MEN010 "
    "GEN_MEN011 GEN_MEN012 GEN_MEN013");

// An editor's title names its model as the main window's list does. Every editor has the
// configuration-file and current-values buttons and the read-back check box beside Save, and
// before a read-out each New field is marked as changing and Save counts them. (What it
// changes from and to fills a place that the texts here lack.)
QSet<QString> Editor(const char* referencia, const QString& keys) {
    return Keys(keys + QStringLiteral(" List_") + QString::fromLatin1(referencia) +
                QStringLiteral(" Cfg_SaveFile Cfg_LoadFile Cfg_Revert Cfg_WillChange Cfg_Changes"
                               " Est_ReadBack Est_ReadBackTip"));
}

struct Window_Keys {
    const char* name;
    std::function<QWidget*()> window;
    QSet<QString> keys;
};

std::vector<Window_Keys> Expected() {
    const TVentanas& v = Ventanas();
    return {
        {"F_Princ", [&]() -> QWidget* { return v.F_Princ; },
         Keys("Main_Label2_caption Main_B_Go_caption GEN_MEN09 Main_File1_caption "
              "Main_Language1_caption Main_SerialPort1_caption Main_Reprogramming1_caption "
              "Main_Reprogramming2_caption Main_Test1_caption Main_Survey1_caption "
              "Main_About1_caption "
              "List_6713 "
              "List_6721 List_6722 List_6734 List_6745 List_6746 List_6747 List_6758 List_6759 "
              "List_6763 List_6775 List_6786 "
              // the status line of a port that is not open (the cause fills a place that the
              // texts here lack)
              "Port_St_NotOpen "
              // File > Installation, and the label of the open installation
              "GEN_MEN105 GEN_MEN106 GEN_MEN107 GEN_MEN108 GEN_MEN109 GEN_MEN110 Plan_Title "
              // File > Line log, Re-programming > Line monitor
              "Mon_MenuLog Mon_MenuMonitor")},
        {"6713", [&]() -> QWidget* { return Editor_Por_Referencia(6713); },
         Editor("6713", kCallEditor)},
        {"6721", [&]() -> QWidget* { return Editor_Por_Referencia(6721); },
         Editor("6721", kCallEditor)},
        {"6722", [&]() -> QWidget* { return Editor_Por_Referencia(6722); },
         Editor("6722", kCallEditor)},
        {"6745", [&]() -> QWidget* { return Editor_Por_Referencia(6745); },
         Editor("6745", kCallEditor)},
        {"6746", [&]() -> QWidget* { return Editor_Por_Referencia(6746); },
         Editor("6746", kCallEditor)},
        {"6747", [&]() -> QWidget* { return Editor_Por_Referencia(6747); },
         Editor("6747", kCallEditor)},
        {"6763", [&]() -> QWidget* { return Editor_Por_Referencia(6763); },
         Editor("6763", kCallEditor)},
        {"6758", [&]() -> QWidget* { return Editor_Por_Referencia(6758); },
         Editor("6758", kOutputsEditor + " GEN_MEN06")},
        {"6759", [&]() -> QWidget* { return Editor_Por_Referencia(6759); },
         Editor("6759", kOutputsEditor + " GEN_MEN016")},
        {"6734", [&]() -> QWidget* { return Editor_Por_Referencia(6734); },
         Editor("6734", "GEN_MEN014 GEN_MEN015 GEN_MEN01 GEN_MEN02 F_GEN00 F_GEN01 F_GEN02 "
                        "GEN_MEN09 GEN_MEN010")},
        {"6775", [&]() -> QWidget* { return Editor_Por_Referencia(6775); },
         Editor("6775", "GEN_MEN09 GEN_MEN010 GEN_MEN014 GEN_MEN015 GEN_MEN01 GEN_MEN02 "
                        "GEN_MEN021 GEN_MEN022 GEN_MEN023 GEN_MEN024")},
        {"6775_Help", [&]() -> QWidget* { return v.F_Decoder_6775_Help; },
         Keys("GEN_MEN09 List_help_6775_1 List_help_6775_2 List_help_6775_3")},
        {"6786_II", [&]() -> QWidget* { return Editor_Por_Referencia(6786); },
         Editor("6786", "GEN_MEN09 GEN_MEN010 GEN_MEN014 GEN_MEN015 GEN_MEN01 GEN_MEN02 "
                        "GEN_MEN035")},
        {"F_Mensa00", [&]() -> QWidget* { return v.F_Mensa00; },
         Keys("F_MENSA00 F_MENSA01 F_MENSA02 F_MENSA03 GEN_MEN09")},
        {"F_Mensa01", [&]() -> QWidget* { return v.F_Mensa01; },
         Keys("F_MENSA04 F_MENSA05 GEN_MEN09")},
        {"F_Mensa02", [&]() -> QWidget* { return v.F_Mensa02; },
         Keys("F_MENSA13 F_MENSA14 GEN_MEN09")},
        {"F_Mensa03", [&]() -> QWidget* { return v.F_Mensa03; },
         Keys("F_MENSA15 F_MENSA16 F_MENSA17 F_MENSA18 GEN_MEN09")},
        {"F_Mensa04", [&]() -> QWidget* { return v.F_Mensa04; },
         Keys("F_MENSA06 F_MENSA07 F_MENSA08 F_MENSA09 F_MENSA10 F_MENSA11 F_MENSA12 GEN_MEN09")},
        {"F_Mensa05", [&]() -> QWidget* { return v.F_Mensa05; }, Keys("F_MENSA19 GEN_MEN09")},
        {"AboutBox", [&]() -> QWidget* { return v.AboutBox; }, {}},
        {"F_Lang", [&]() -> QWidget* { return v.F_Lang; },
         Keys("GEN_MEN017 GEN_MEN018 GEN_MEN019 GEN_MEN020")},
        {"F_Test", [&]() -> QWidget* { return v.F_Test; },
         Keys("GEN_MEN025 GEN_MEN026 GEN_MEN027 GEN_MEN028 GEN_MEN029 GEN_MEN030 GEN_MEN031 "
              "GEN_MEN032 GEN_MEN033 GEN_MEN126 GEN_MEN127 GEN_MEN128 GEN_MEN09 Test_Clear")},
        {"F_Reprogram", [&]() -> QWidget* { return v.F_Reprogram; },
         Keys("Main_Reprogramming2_caption GEN_MEN026 GEN_MEN028 GEN_MEN029 GEN_MEN030 "
              "GEN_MEN031 GEN_MEN04 GEN_MEN09 Plan_Find")},
        {"F_Sondeo", [&]() -> QWidget* { return v.F_Sondeo; },
         Keys("Srv_Title Srv_Ranges GEN_MEN028 GEN_MEN029 GEN_MEN030 GEN_MEN031 Srv_From Srv_To "
              "Srv_Pace Srv_Quick Srv_Thorough Srv_Start Srv_Stop Srv_Resume Srv_Again Srv_Show "
              "GEN_MEN126 Srv_ExportTip GEN_MEN09")},
        // Its survey problems and model choice show only where a survey left some.
        {"F_Instalacion", [&]() -> QWidget* { return v.F_Instalacion; },
         Keys("GEN_MEN070 GEN_MEN071 GEN_MEN072 GEN_MEN073 GEN_MEN074 GEN_MEN075 GEN_MEN076 "
              "GEN_MEN077 GEN_MEN079 GEN_MEN080 GEN_MEN081 GEN_MEN082 GEN_MEN083 GEN_MEN086 "
              "GEN_MEN087 GEN_MEN088 GEN_MEN092 GEN_MEN093 GEN_MEN09 Mon_Clear")},
        {"F_Plan_Codigos", [&]() -> QWidget* { return v.F_Plan_Codigos; },
         Keys("Plan_Title Plan_Find Plan_FindButton Plan_Space Plan_Sp_Call Plan_Sp_Panel "
              "Plan_Sp_Sensor Plan_Sp_Relay Plan_Sp_Range Plan_Sp_Address Plan_Sp_Digitizer "
              "Plan_HowMany Plan_FreeButton Plan_ColCode GEN_MEN071 GEN_MEN03 GEN_MEN072 "
              "Plan_ColClash GEN_MEN087 GEN_MEN09")},
        {"F_Monitor", [&]() -> QWidget* { return v.F_Monitor; },
         Keys("Mon_Title Mon_FilterAll Mon_FilterRequests Mon_FilterDecoder Mon_FilterProblems "
              "Mon_Pause Mon_Clear Mon_Find Mon_Copy Mon_Save")},
        {"F_Reprogram_Coinc", [&]() -> QWidget* { return v.F_Reprogram_Coinc; },
         Keys("Main_Reprogramming2_caption GEN_MEN034 List_6745 List_6713 List_6734 GEN_MEN018")},
    };
}

std::string Joined(const QSet<QString>& keys) {
    QStringList sorted(keys.begin(), keys.end());
    sorted.sort();
    return sorted.join(QLatin1Char(' ')).toStdString();
}

// Every text the window shows (or hints) at creation, its own controls only.
QStringList Shown_Texts(QWidget* window) {
    QStringList texts{window->windowTitle()};
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        // Hidden controls are not read; menus are windows of their own.
        if (!qobject_cast<QMenu*>(w) && (w->window() != window || !w->isVisibleTo(window)))
            continue;
        texts << w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text();
        if (auto* group = qobject_cast<QGroupBox*>(w))
            texts << group->title();
        if (auto* menu = qobject_cast<QMenu*>(w))
            texts << menu->title();
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        if (auto* tree = qobject_cast<QTreeWidget*>(w))
            for (int i = 0; i < tree->columnCount(); ++i)
                texts << tree->headerItem()->text(i);
    }
    for (const QAction* action : window->findChildren<QAction*>())
        texts << action->text();
    return texts;
}

TEST(WindowKeysTest, EachWindowShowsTheTextsOfExactlyItsKeys) {
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    qputenv("KALVEX_CONFIG_DIR", config.path().toLocal8Bit());
    {
        QSet<QString> all{QStringLiteral("GEN_MEN036")};
        for (const Window_Keys& w : Expected())
            all += w.keys;
        TIniFile lang(config.filePath(QStringLiteral("KALVEX_LANG.INI")));
        for (const QString& key : all)
            lang.WriteString(QStringLiteral("ECHO"), key,
                             QLatin1Char('{') + key + QLatin1Char('}'));
        TIniFile settings(config.filePath(QStringLiteral("KALVEX.INI")));
        settings.WriteString(QStringLiteral("General"), QStringLiteral("Sys_Port"), QString());
        settings.WriteString(QStringLiteral("General"), QStringLiteral("Idioma"),
                             QStringLiteral("ECHO"));
    }
    ModalWatcher boxes; // the port that cannot be opened
    Crea_Ventanas();

    static const QRegularExpression kKey(QStringLiteral("\\{(\\w+)\\}"));
    for (const Window_Keys& expected : Expected()) {
        SCOPED_TRACE(expected.name);
        QWidget* window = expected.window();
        ASSERT_NE(window, nullptr);
        QSet<QString> shown;
        for (const QString& text : Shown_Texts(window)) {
            if (text.contains(QString::fromUtf8("\u00BF?")))
                ADD_FAILURE() << "a key outside the file: " << text.toStdString();
            for (auto m = kKey.globalMatch(text); m.hasNext();)
                shown.insert(m.next().captured(1));
        }
        EXPECT_EQ(Joined(shown - expected.keys), "") << "shown, not its keys";
        EXPECT_EQ(Joined(expected.keys - shown), "") << "its keys, not shown";
    }
    Destruye_Ventanas();
    Libera_Fichero_Idiomas();
    qunsetenv("KALVEX_CONFIG_DIR");
}

} // namespace
