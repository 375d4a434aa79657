// The shipped language file: every key in every language, stored as Windows-1252; and the
// record of keys asked for in vain.

#include "Configuracion.h"
#include "Cp1252.h"
#include "Ficheros.h"
#include "Idiomas.h"
#include "TIniFile.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

namespace {

const char* const kClaves[] = {
    // main window
    "Main_Label2_caption", "Main_B_Go_caption", "GEN_MEN09", "Main_File1_caption",
    "Main_Language1_caption", "Main_SerialPort1_caption", "Main_Reprogramming1_caption",
    "Main_Survey1_caption", "Main_Reprogramming2_caption", "Main_Test1_caption",
    "Main_About1_caption", "List_6713", "List_6721", "List_6722", "List_6734", "List_6745",
    "List_6746", "List_6747", "List_6758", "List_6759", "List_6763", "List_6775", "List_6786",
    // editors
    "GEN_MEN00", "GEN_MEN014", "GEN_MEN015", "GEN_MEN01", "GEN_MEN02", "GEN_MEN03", "GEN_MEN04",
    "GEN_MEN05", "GEN_MEN06", "GEN_MEN016", "GEN_MEN07", "GEN_MEN08", "GEN_MEN010", "GEN_MEN011",
    "GEN_MEN012", "GEN_MEN013", "F_GEN00", "F_GEN01", "F_GEN02", "GEN_MEN021", "GEN_MEN022",
    "GEN_MEN023", "GEN_MEN024", "GEN_MEN035", "List_help_6775_1", "List_help_6775_2",
    "List_help_6775_3",
    // devices test, re-programming, decoder-type choice, busy link
    "GEN_MEN025", "GEN_MEN026", "GEN_MEN027", "GEN_MEN028", "GEN_MEN029", "GEN_MEN030",
    "GEN_MEN031", "GEN_MEN032", "GEN_MEN033", "GEN_MEN034", "GEN_MEN036",
    // the main window's offer of an editor, and what the record knows in the choice
    "Offer_One", "Offer_Several", "Offer_Unknown", "Offer_Data", "Offer_Open", "Offer_Dismiss",
    "Offer_Region", "Reprog_Known",
    // what the program adds: the incomplete read-out, refusals that name the field
    "GEN_MEN037", "GEN_MEN038", "GEN_MEN039", "GEN_MEN040", "GEN_MEN041", "GEN_MEN042",
    "GEN_MEN043",
    // the digitizer's move to a new address
    "GEN_MEN044", "GEN_MEN045", "GEN_MEN046",
    // the help window, and programs that could not be started
    "GEN_MEN047", "GEN_MEN048", "GEN_MEN049",
    // the installation record: a clash line, and what is said about the file
    "GEN_MEN050", "GEN_MEN051", "GEN_MEN052", "GEN_MEN053", "GEN_MEN054", "GEN_MEN055",
    "GEN_MEN056", "GEN_MEN057", "GEN_MEN058",
    // duplicate codes before a Save, and values of check boxes in the installation record
    "GEN_MEN100", "GEN_MEN101", "GEN_MEN103", "GEN_MEN104",
    // File > Installation, and the status label of the open installation
    "GEN_MEN105", "GEN_MEN106", "GEN_MEN107", "GEN_MEN108", "GEN_MEN109", "GEN_MEN110",
    "GEN_MEN111", "GEN_MEN112", "GEN_MEN113", "GEN_MEN114", "GEN_MEN115", "GEN_MEN116",
    "GEN_MEN117",
    // the devices test's progress line, summary, filter and CSV export
    "GEN_MEN118", "GEN_MEN119", "GEN_MEN120", "GEN_MEN121", "GEN_MEN122", "GEN_MEN123",
    "GEN_MEN124", "GEN_MEN125", "GEN_MEN126", "GEN_MEN127", "GEN_MEN128", "Test_Clear",
    // the survey
    "Srv_Title", "Srv_Ranges", "Srv_From", "Srv_To", "Srv_Pace", "Srv_Quick", "Srv_Thorough",
    "Srv_Start", "Srv_Stop", "Srv_Resume", "Srv_Again", "Srv_Show", "Srv_ExportTip",
    "Srv_ProgressName", "Srv_Starting", "Srv_LineS", "Srv_LineMin", "Srv_Found1", "Srv_FoundN",
    "Srv_Paused", "Srv_Summary", "Srv_Unsettled", "Srv_Busy", "Srv_Running", "Srv_NoRange",
    "Srv_NotNumber", "Srv_TooWide", "Srv_Backwards", "Srv_NoReadOut", "Srv_Incomplete",
    "Srv_OtherModel", "Srv_Silent", "Srv_Read", "Srv_Served", "Srv_Unknown", "Srv_CsvCode",
    "Srv_CsvResult", "Test_ClearAsk", "GEN_MEN129", "GEN_MEN130", "GEN_MEN131", "GEN_MEN132",
    // the Save's progress line, and the values the decoder did not acknowledge
    "GEN_MEN140", "GEN_MEN141", "GEN_MEN142", "GEN_MEN143", "GEN_MEN144", "GEN_MEN145",
    "GEN_MEN146", "GEN_MEN147", "GEN_MEN148",
    // the installation record's file: another program's, not writable, a change not stored,
    // the last installation gone
    "GEN_MEN160", "GEN_MEN161", "GEN_MEN162", "GEN_MEN163", "GEN_MEN164", "GEN_MEN165",
    "GEN_MEN166", "GEN_MEN167",
    // the serial port: why it would not open, the status line, the port menu
    "Port_Device", "Port_NotFound", "Port_Present", "Port_NonePresent", "Port_Permission",
    "Port_PermissionFix", "Port_PermissionAdmin", "Port_Held", "Port_HeldUnknown", "Port_HeldFix",
    "Port_Shared", "Port_St_Open", "Port_St_NotOpen", "Port_St_Gone", "Port_St_Again",
    "Port_St_LowOn", "Port_St_LowOff", "Port_St_Shared", "Port_Other", "Port_OtherPrompt",
    "Port_OtherPromptWin", "Port_TooLong",
    // a choice the settings file could not keep
    "Set_NotWritten", "Set_PortKept", "Set_LanguageKept", "Set_ThisRunOnly", "Set_AtExit",
    // language window
    "GEN_MEN017", "GEN_MEN018", "GEN_MEN019", "GEN_MEN020",
    // message dialogs
    "F_MENSA00", "F_MENSA01", "F_MENSA02", "F_MENSA03", "F_MENSA04", "F_MENSA05", "F_MENSA06",
    "F_MENSA07", "F_MENSA08", "F_MENSA09", "F_MENSA10", "F_MENSA11", "F_MENSA12", "F_MENSA13",
    "F_MENSA14", "F_MENSA15", "F_MENSA16", "F_MENSA17", "F_MENSA18", "F_MENSA19",
    // the Installation window, the CSV export and the handover report
    "GEN_MEN070", "GEN_MEN071", "GEN_MEN072", "GEN_MEN073", "GEN_MEN074", "GEN_MEN075",
    "GEN_MEN076", "GEN_MEN077", "GEN_MEN078", "GEN_MEN079", "GEN_MEN080", "GEN_MEN081",
    "GEN_MEN082", "GEN_MEN083", "GEN_MEN084", "GEN_MEN085", "GEN_MEN086", "GEN_MEN087",
    "GEN_MEN088", "GEN_MEN089", "GEN_MEN090", "GEN_MEN091", "GEN_MEN092", "GEN_MEN093",
    "GEN_MEN094", "GEN_MEN095", "GEN_MEN096", "GEN_MEN097", "GEN_MEN098", "GEN_MEN099", "Reg_Or",
    "Reg_Survey", "Reg_Surveyed", "Reg_NoReadOut", "Reg_Incomplete", "Reg_OtherId",
    "Reg_NotUpgraded", "Reg_Settle", "Reg_SettleAsk", "Reg_Problems", "Reg_IdByte", "Reg_Cause",
    "Reg_Port",
    // the handover report's dialog and its first page
    "Ent_Installer", "Ent_SignInstaller", "Ent_Customer", "Ent_Address", "Ent_Notes",
    "Ent_Language", "Ent_File", "Ent_Choose", "Ent_Make", "Ent_Written", "Ent_Open", "Ent_NotKept",
    "Ent_Summary", "Ent_Decoders", "Ent_Confirmed", "Ent_Clashes", "Ent_OfTotal", "Ent_Unconfirmed",
    "Ent_AllConfirmed", "Ent_Undecided", "Ent_Signatures", "Ent_Name", "Ent_Signature",
    // the code plan
    "Plan_Title", "Plan_Sp_Call", "Plan_Sp_Panel", "Plan_Sp_Sensor", "Plan_Sp_Relay",
    "Plan_Sp_Range", "Plan_Sp_Address", "Plan_Sp_Digitizer", "Plan_ColCode", "Plan_ColClash",
    "Plan_ColFree", "Plan_Summary", "Plan_Free", "Plan_Clash", "Plan_Find", "Plan_FindButton",
    "Plan_Space", "Plan_HowMany", "Plan_FreeButton", "Plan_InUse", "Plan_IsFree", "Plan_BadCode",
    "Plan_BadCount", "Plan_FreeRun", "Plan_NoRun", "Plan_Empty",
    // the installation check and the command line
    "CHK_Idiomas", "CHK_Ayuda", "CHK_Sin_Texto", "CHK_Sin_Ayuda", "CHK_Correcta", "CHK_Opcion",
    "CHK_Uso",
    // the line monitor and the line log
    "Mon_Title", "Mon_MenuMonitor", "Mon_MenuLog", "Mon_ColTime", "Mon_ColDelta",
    "Mon_ColDirection", "Mon_ColBytes", "Mon_ColMeaning", "Mon_ToLine", "Mon_FromLine",
    "Mon_FilterAll", "Mon_FilterRequests", "Mon_FilterDecoder", "Mon_FilterProblems", "Mon_Pause",
    "Mon_Clear", "Mon_Find", "Mon_Copy", "Mon_Save", "Mon_SaveFilter", "Mon_SaveFailed",
    "Mon_NotFound", "Mon_LogFailed", "Mon_Trimmed", "Mon_WriteCode", "Mon_WriteNoCode",
    "Mon_WriteTimeSec", "Mon_WriteTimeMin", "Mon_WriteNoTime", "Mon_WriteMode", "Mon_WriteStart",
    "Mon_WriteEnd", "Mon_WriteEntrance", "Mon_WriteAddress", "Mon_None", "Mon_Yes", "Mon_No",
    "Mon_WriteWord", "Mon_ReadTime", "Mon_ReadState", "Mon_ReadRegister", "Mon_ReadPanel",
    "Mon_WritePanel", "Mon_Query", "Mon_Arm", "Mon_ProgRequest", "Mon_Closing", "Mon_ClosingSaved",
    "Mon_AckData", "Mon_AckIdent", "Mon_AckOther", "Mon_UnknownRequest", "Mon_Acknowledged",
    "Mon_Answer", "Mon_Value", "Mon_Refused", "Mon_Attempt", "Mon_Timeout", "Mon_Late",
    "Mon_Debris", "Mon_Excess", "Mon_DataFrame", "Mon_DataFrameAny", "Mon_Ident",
    "Mon_WrongDecoder", "Mon_Announce", "Mon_AnnounceFirst", "Mon_UnknownFrame", "Mon_NoEditor",
    "Mon_Ignored",
    // the editors' configuration files and the marks of what a Save will change
    "Cfg_SaveFile", "Cfg_LoadFile", "Cfg_Revert", "Cfg_WillChange", "Cfg_Empty", "Cfg_NotRead",
    "Cfg_Changes", "Cfg_Filter", "Cfg_ErrWrite", "Cfg_ErrRead", "Cfg_Refused", "Cfg_OtherModel",
    "Cfg_Truncated", "Cfg_Syntax", "Cfg_Nested", "Cfg_Foreign", "Cfg_Newer", "Cfg_Structure",
    "Cfg_TooBig", "Cfg_Missing", "Cfg_Unknown", "Cfg_NoFit",
    // the editors' state line, the read-back after Save, a Save with the port not open
    "Est_Name", "Est_Waiting", "Est_Reading", "Est_Complete", "Est_Saved", "Est_SavedPart",
    "Est_ReadingBack", "Est_ReadBackOk", "Est_ReadBackDiff1", "Est_ReadBackDiffN", "Est_NoReadBack",
    "Est_Differs", "Est_ReadBack", "Est_ReadBackTip", "Est_SaveNoPort", "Est_ChoosePort"};

const QStringList kIdiomas = {"ENGLISH", QStringLiteral("ESPA\u00D1OL"),
                              QStringLiteral("FRAN\u00C7AIS"), "DEUTSCH"};

QString Fichero() {
    return Carpeta_Fuentes() + "/resources/KALVEX_LANG.INI";
}

TEST(TextsLanguageFile, FourLanguagesInOrder) {
    EXPECT_EQ(TIniFile(Fichero()).ReadSections(), kIdiomas);
}

TEST(TextsLanguageFile, EveryKeyInEveryLanguage) {
    const TIniFile ini(Fichero());
    for (const QString& idioma : kIdiomas) {
        for (const char* clave : kClaves) {
            const QString texto = ini.ReadString(idioma, clave, QString());
            EXPECT_FALSE(texto.trimmed().isEmpty()) << idioma.toStdString() << " " << clave;
        }
    }
}

// A repeated key would be ignored without a word: only its first line is ever read.
TEST(TextsLanguageFile, NoKeyTwiceInASectionAndNoStrayKeys) {
    const QSet<QString> esperadas = [] {
        QSet<QString> s;
        for (const char* clave : kClaves) {
            s.insert(QString::fromLatin1(clave).toUpper());
        }
        return s;
    }();
    QString seccion;
    QSet<QString> vistas;
    for (const QByteArray& linea : Lee_Bytes(Fichero()).split('\n')) {
        const QString texto = Desde_Cp1252(linea).trimmed();
        if (texto.startsWith('[')) {
            seccion = texto;
            vistas.clear();
        } else if (texto.contains('=') && !texto.startsWith(';')) {
            const QString clave = texto.section('=', 0, 0).trimmed().toUpper();
            EXPECT_FALSE(vistas.contains(clave))
                << seccion.toStdString() << " " << clave.toStdString();
            EXPECT_TRUE(esperadas.contains(clave)) << clave.toStdString();
            vistas.insert(clave);
        }
    }
}

TEST(TextsLanguageFile, StoredAsWindows1252WithCrLf) {
    const QByteArray bytes = Lee_Bytes(Fichero());
    EXPECT_TRUE(bytes.contains("[ESPA\xD1OL]\r\n"));
    EXPECT_TRUE(bytes.contains("[FRAN\xC7"
                               "AIS]\r\n"));
    EXPECT_FALSE(bytes.contains("\xC3\xB1")); // UTF-8 for ñ
    EXPECT_FALSE(bytes.contains("\xC3\xA9")); // UTF-8 for é
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
}

struct Texto_Fijo {
    const char* idioma;
    const char* clave;
    QString texto;
};

TEST(TextsLanguageFile, TextsThatMatterExactly) {
    const TIniFile ini(Fichero());
    const Texto_Fijo casos[] = {
        {"ENGLISH", "Main_B_Go_caption", "Go!"},
        {"ENGLISH", "GEN_MEN09", "Close"},
        {"ENGLISH", "GEN_MEN010", "Save"},
        {"ENGLISH", "List_6775", "Quendal-Marlo Digitizer"},
        {"ENGLISH", "F_MENSA19", "Values updated"},
        {"ENGLISH", "GEN_MEN036",
         "The decoder link is busy: another request is still waiting "
         "for its reply. Try again when it has finished."},
        // leading and trailing blanks survive through the quotes
        {"ENGLISH", "GEN_MEN015", " to get values"},
        {"ENGLISH", "GEN_MEN026", " Select device type "},
        {"ESPA\xD1OL", "F_MENSA06", QStringLiteral("Atenci\u00F3n : ")},
        {"ESPA\xD1OL", "F_MENSA19", "Valores actualizados"},
        {"DEUTSCH", "GEN_MEN09", QStringLiteral("Schlie\u00DFen")},
    };
    for (const Texto_Fijo& caso : casos) {
        EXPECT_EQ(ini.ReadString(Desde_Cp1252(caso.idioma), caso.clave, "-"), caso.texto)
            << caso.idioma << " " << caso.clave;
    }
    for (const QString& idioma : kIdiomas) {
        EXPECT_TRUE(ini.ReadString(idioma, "GEN_MEN015", "").startsWith(' '))
            << idioma.toStdString();
    }
}

// The installation check names what the windows asked the file for in vain; opening the file
// again starts a new list.
TEST(TextsLanguageFile, KeysAskedForInVainAreRemembered) {
    QTemporaryDir config;
    QFile propio(config.filePath("KALVEX_LANG.INI"));
    ASSERT_TRUE(propio.open(QIODevice::WriteOnly));
    propio.write("[ENGLISH]\r\nPresent=Here\r\n");
    propio.close();
    qputenv("KALVEX_CONFIG_DIR", config.path().toLocal8Bit());
    const QString antes = Idioma;
    Idioma = "ENGLISH";

    Abre_Fichero_Idiomas();
    EXPECT_EQ(Texto("Present"), "Here");
    EXPECT_EQ(Texto("Zeta"), TEXTO_AUSENTE);
    EXPECT_EQ(Texto("Alfa"), TEXTO_AUSENTE);
    Texto("Zeta");
    EXPECT_EQ(Textos_Ausentes(), QStringList({"Alfa", "Zeta"}));
    // A language the file does not hold lacks every key.
    Idioma = "DEUTSCH";
    Texto("Present");
    EXPECT_EQ(Textos_Ausentes(), QStringList({"Alfa", "Present", "Zeta"}));
    Abre_Fichero_Idiomas();
    EXPECT_TRUE(Textos_Ausentes().isEmpty());

    Libera_Fichero_Idiomas();
    Idioma = antes;
    qunsetenv("KALVEX_CONFIG_DIR");
}

} // namespace
