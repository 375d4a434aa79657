// The INI layer against files as Windows tools write them, and the Windows-1252 conversion.

#include "Cp1252.h"
#include "FailingDisk.h"
#include "Ficheros.h"
#include "TIniFile.h"

#include <QRandomGenerator>

#include <cerrno>

using kalvex::test::FailingDisk;

namespace {

// CRLF, mixed case, blanks, quotes, comments, repeated keys and sections, a line without
// '=', and no line break after the last line.
const QByteArray kWindows = "; written by hand\r\n"
                            "[General]\r\n"
                            "Sys_Port=COM3\r\n"
                            "  idioma  =  ESPA\xD1OL  \r\n"
                            "Empty=\r\n"
                            "Quoted=\" padded \"\r\n"
                            "Single='x'\r\n"
                            "Half=\"abc\r\n"
                            "Dup=first\r\n"
                            "DUP=second\r\n"
                            "\r\n"
                            "[ general ]\r\n"
                            "Later=hidden\r\n"
                            "[Second]\r\n"
                            "Sys_Port=COM9\r\n"
                            "a line without equals\r\n"
                            ";Commented=1\r\n"
                            "Last=no newline";

class TextsIniTest : public ::testing::Test {
protected:
    QString Ruta(const QString& nombre = QStringLiteral("t.ini")) const {
        return dir_.path() + QLatin1Char('/') + nombre;
    }
    TIniFile Con(const QByteArray& bytes) {
        Escribe_Bytes(Ruta(), bytes);
        return TIniFile(Ruta());
    }
    QTemporaryDir dir_;
};

struct Lectura {
    const char* seccion;
    const char* clave;
    QString esperado;
};

TEST_F(TextsIniTest, ReadsTheWayWindowsDoes) {
    const TIniFile ini = Con(kWindows);
    const Lectura casos[] = {
        {"General", "sys_port", "COM3"},
        {"GENERAL", "Idioma", QStringLiteral("ESPA\u00D1OL")},
        {"General", "Empty", ""},          // present but empty: not the default
        {"General", "Quoted", " padded "}, // quotes keep the blanks inside
        {"General", "Single", "x"},
        {"General", "Half", "\"abc"},      // one quote alone stays
        {"General", "dup", "first"},       // first key wins
        {"General", "Later", "<default>"}, // a repeated section is never read
        {" second ", "SYS_PORT", "COM9"},
        {"Second", "Last", "no newline"},
        {"Second", ";Commented", "<default>"},
        {"Second", "a line without equals", "<default>"},
        {"Missing", "Sys_Port", "<default>"},
        {"General", "Missing", "<default>"},
    };
    for (const Lectura& caso : casos) {
        EXPECT_EQ(ini.ReadString(caso.seccion, caso.clave, "<default>"), caso.esperado)
            << caso.seccion << " / " << caso.clave;
    }
    EXPECT_EQ(ini.ReadSections(), (QStringList{"General", "general", "Second"}));
}

TEST_F(TextsIniTest, LfFilesAndBlanksAroundBrackets) {
    const TIniFile ini = Con("  [ Lang One ]  trailing\nK = v\n");
    EXPECT_EQ(ini.ReadString("lang one", "k", "-"), "v");
    EXPECT_EQ(ini.ReadSections(), QStringList{"Lang One"});
}

TEST_F(TextsIniTest, UnreadableFilesGiveDefaults) {
    QRandomGenerator aleatorio(1234);
    QByteArray basura(64 * 1024, '\0');
    for (char& c : basura) {
        c = static_cast<char>(aleatorio.bounded(256));
    }
    // Garbage reads without failing, and a section after it is still found.
    const TIniFile binario = Con(basura + "\n[S]\r\nK=V\r\n");
    EXPECT_EQ(binario.ReadString("S", "K", "-"), "V");

    EXPECT_EQ(TIniFile(Ruta("absent.ini")).ReadString("S", "K", "-"), "-");
    EXPECT_TRUE(TIniFile(Ruta("absent.ini")).ReadSections().isEmpty());

    QDir(dir_.path()).mkdir("folder.ini");
    EXPECT_EQ(TIniFile(Ruta("folder.ini")).ReadString("S", "K", "-"), "-");

    QFile grande(Ruta("huge.ini"));
    ASSERT_TRUE(grande.open(QIODevice::WriteOnly));
    grande.write("[S]\r\nK=V\r\n");
    ASSERT_TRUE(grande.resize(TIniFile::kTamanoMaximo + 1));
    grande.close();
    EXPECT_EQ(TIniFile(Ruta("huge.ini")).ReadString("S", "K", "-"), "-");
}

TEST_F(TextsIniTest, WriteChangesOnlyItsOwnLine) {
    TIniFile ini = Con(kWindows);
    ASSERT_TRUE(ini.WriteString("GENERAL", "IDIOMA", QStringLiteral("DEUTSCH")));
    QByteArray esperado = kWindows;
    esperado.replace("  idioma  =  ESPA\xD1OL  \r\n", "  idioma  =  DEUTSCH\r\n");
    EXPECT_EQ(Lee_Bytes(Ruta()), esperado);
}

TEST_F(TextsIniTest, NewKeyGoesAfterTheLastKeyOfItsSection) {
    TIniFile ini = Con(kWindows);
    ASSERT_TRUE(ini.WriteString("general", "Nueva", "1"));
    QByteArray esperado = kWindows;
    esperado.replace("DUP=second\r\n", "DUP=second\r\nNueva=1\r\n");
    EXPECT_EQ(Lee_Bytes(Ruta()), esperado);
}

TEST_F(TextsIniTest, NewKeyInTheLastSectionWithoutFinalLineBreak) {
    TIniFile ini = Con(kWindows);
    ASSERT_TRUE(ini.WriteString("Second", "Otra", "2"));
    EXPECT_EQ(Lee_Bytes(Ruta()), kWindows + "\r\nOtra=2");
}

TEST_F(TextsIniTest, NewSectionIsAppendedInTheFilesLineEndings) {
    TIniFile crlf = Con(kWindows);
    ASSERT_TRUE(crlf.WriteString("Nueva", "K", "V"));
    EXPECT_EQ(Lee_Bytes(Ruta()), kWindows + "\r\n[Nueva]\r\nK=V\r\n");

    TIniFile lf = Con("\n[A]\nx=1\n\n; tail comment\n");
    ASSERT_TRUE(lf.WriteString("A", "y", "2"));
    ASSERT_TRUE(lf.WriteString("B", "z", "3"));
    EXPECT_EQ(Lee_Bytes(Ruta()), "\n[A]\nx=1\ny=2\n\n; tail comment\n[B]\nz=3\n");
}

TEST_F(TextsIniTest, FirstWriteCreatesFolderAndFile) {
    TIniFile ini(dir_.path() + "/a/b/new.ini");
    ASSERT_TRUE(ini.WriteString("General", "Sys_Port", "COM2"));
    EXPECT_EQ(Lee_Bytes(ini.FileName()), "[General]\r\nSys_Port=COM2\r\n");
}

TEST_F(TextsIniTest, WriteReplacesTheFileWholeAndLeavesNoTemporaryFile) {
    TIniFile ini = Con("[A]\r\nK=old\r\n");
    QFile anterior(Ruta());
    ASSERT_TRUE(anterior.open(QIODevice::ReadOnly));
    ASSERT_TRUE(ini.WriteString("A", "K", "new"));
    // The old file was replaced by a rename, not rewritten in place: a reader that had it
    // open still sees all of the old content.
    EXPECT_EQ(anterior.readAll(), "[A]\r\nK=old\r\n");
    EXPECT_EQ(ini.ReadString("A", "K", "-"), "new");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"t.ini"});
}

// A settings file of some 9 KB: the port, the line log and the recent installations.
QByteArray Ajustes_Grandes() {
    QByteArray texto = "[General]\r\nSys_Port=COM2\r\nIdioma=ENGLISH\r\nLine_Log=0\r\n"
                       "[Installation]\r\n";
    for (int i = 1; texto.size() < 8900; ++i) {
        texto += "Recent" + QByteArray::number(i) + "=/home/installer/Installations/Calle Mayor " +
                 QByteArray::number(i) + ", entrance A, floor " + QByteArray(60, 'x') +
                 ".kalvex\r\n";
    }
    return texto;
}

TEST_F(TextsIniTest, AWriteTheDiskRefusesLeavesTheOldFileByteForByteAndSaysWhy) {
    const QByteArray antes = Ajustes_Grandes();
    const struct {
        const char* que;
        int error;
        qint64 sitio; // bytes the disk still takes
        FailingDisk::Step paso;
    } casos[] = {
        {"the disk fills up in the middle of the file", ENOSPC, 4096, FailingDisk::Step::Write},
        {"the disk is full from the start", ENOSPC, 0, FailingDisk::Step::Write},
        {"the disk is read-only", EROFS, 0, FailingDisk::Step::Write},
        {"the disk takes every byte and cannot keep them", EIO, 0, FailingDisk::Step::Sync},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.que);
        TIniFile ini = Con(antes);
        QString causa;
        {
            FailingDisk disco(caso.error, caso.sitio, caso.paso);
            EXPECT_FALSE(ini.WriteStrings("General", {{"Line_Log", "1"}, {"Nueva", "2"}}, causa));
            EXPECT_FALSE(ini.WriteString("Installation", "Recent1", "/elsewhere.kalvex"));
        }
        EXPECT_EQ(causa, qt_error_string(caso.error));
        EXPECT_EQ(Lee_Bytes(Ruta()), antes);
        EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"t.ini"});
    }
    // Several keys go in one replacement of the file.
    TIniFile ini = Con(antes);
    QString causa;
    ASSERT_TRUE(ini.WriteStrings("General", {{"Line_Log", "1"}, {"Nueva", "2"}}, causa));
    QByteArray esperado = antes;
    esperado.replace("Line_Log=0\r\n", "Line_Log=1\r\nNueva=2\r\n");
    EXPECT_EQ(Lee_Bytes(Ruta()), esperado);
}

TEST_F(TextsIniTest, FilesThatCannotBeReadAreNeverOverwritten) {
    QDir(dir_.path()).mkdir("folder.ini");
    QString causa;
    EXPECT_FALSE(TIniFile(Ruta("folder.ini")).WriteStrings("S", {{"K", "V"}}, causa));
    EXPECT_EQ(causa, qt_error_string(EISDIR));
    EXPECT_TRUE(QFileInfo(Ruta("folder.ini")).isDir());

    QFile grande(Ruta("huge.ini"));
    ASSERT_TRUE(grande.open(QIODevice::WriteOnly));
    ASSERT_TRUE(grande.resize(TIniFile::kTamanoMaximo + 1));
    grande.close();
    EXPECT_FALSE(TIniFile(Ruta("huge.ini")).WriteString("S", "K", "V"));
    EXPECT_EQ(QFileInfo(Ruta("huge.ini")).size(), TIniFile::kTamanoMaximo + 1);
}

TEST_F(TextsIniTest, ValueStaysOnOneLine) {
    TIniFile ini = Con("[A]\r\nK=1\r\n[B]\r\nK=2\r\n");
    ASSERT_TRUE(ini.WriteString("A", "K", "x\r\n[B]\r\nK=injected"));
    EXPECT_EQ(ini.ReadString("B", "K", "-"), "2");
    EXPECT_EQ(ini.ReadSections(), (QStringList{"A", "B"}));
}

TEST_F(TextsIniTest, Cp1252RoundTrip) {
    const QString texto = QStringLiteral("\u00D1\u00C7\u00BF\u20AC \u00E9\u00DF");
    TIniFile ini = Con("");
    ASSERT_TRUE(ini.WriteString(QStringLiteral("ESPA\u00D1OL"), "K", texto));
    EXPECT_EQ(Lee_Bytes(Ruta()), "[ESPA\xD1OL]\r\nK=\xD1\xC7\xBF\x80 \xE9\xDF\r\n");
    // Case-insensitive beyond ASCII, as the Windows functions compare names.
    EXPECT_EQ(ini.ReadString(QStringLiteral("espa\u00F1ol"), "k", "-"), texto);
}

// Files as other editors and earlier versions left them: what reads from them, and the whole
// file after one write.
TEST_F(TextsIniTest, AwkwardFilesReadRightAndWritesNeverJoinLines) {
    const struct {
        const char* nombre;
        QByteArray antes;
        std::vector<Lectura> lecturas; // before and after the write
        Lectura escritura;             // section, key, value written
        QByteArray despues;
    } casos[] = {
        {"last line ends in a CR alone",
         "[General]\r\nSys_Port=/dev/ttyUSB0\r",
         {{"General", "Sys_Port", "/dev/ttyUSB0"}},
         {"General", "Idioma", "ENGLISH"},
         "[General]\r\nSys_Port=/dev/ttyUSB0\r\nIdioma=ENGLISH\r\n"},
        {"section after a last line that ends in a CR alone",
         "[General]\r\nSys_Port=COM2\r",
         {{"General", "Sys_Port", "COM2"}},
         {"Otra", "K", "V"},
         "[General]\r\nSys_Port=COM2\r\n[Otra]\r\nK=V\r\n"},
        {"LF file whose last line ends in a CR alone",
         "[A]\nx=1\r",
         {{"A", "x", "1"}},
         {"A", "y", "2"},
         "[A]\nx=1\r\ny=2\n"},
        {"two lines an earlier version glued with a CR",
         "[General]\r\nSys_Port=/dev/ttyUSB0\rIdioma=ENGLISH\r\n",
         {{"General", "Idioma", "ENGLISH"}},
         {"General", "Sys_Port", "COM3"},
         "[General]\r\nSys_Port=COM3\rIdioma=ENGLISH\r\n"},
        {"lines ending in CR alone throughout",
         "[General]\rSys_Port=COM2\r",
         {{"General", "Sys_Port", "COM2"}},
         {"General", "Idioma", "DEUTSCH"},
         "[General]\rSys_Port=COM2\rIdioma=DEUTSCH\r"},
        {"a line added in a CR-alone file before a line that is only its LF",
         "[General]\rSys_Port=COM2\n\n[Other]\r",
         {{"General", "Sys_Port", "COM2"}},
         {"General", "Idioma", "DEUTSCH"},
         "[General]\rSys_Port=COM2\nIdioma=DEUTSCH\r\n\n[Other]\r"},
        {"byte-order mark",
         "\xEF\xBB\xBF[General]\r\nSys_Port=/dev/ttyUSB1\r\n",
         {{"General", "Sys_Port", "/dev/ttyUSB1"}},
         {"General", "Idioma", "ENGLISH"},
         "\xEF\xBB\xBF[General]\r\nSys_Port=/dev/ttyUSB1\r\nIdioma=ENGLISH\r\n"},
        {"byte-order mark: the file is UTF-8",
         "\xEF\xBB\xBF[General]\nIdioma=ESPA\xC3\x91OL\n",
         {{"General", "Sys_Port", "<default>"}},
         {"general", "Idioma", QStringLiteral("FRAN\u00C7AIS")},
         "\xEF\xBB\xBF[General]\nIdioma=FRAN\xC3\x87"
         "AIS\n"},
        {"byte-order mark alone",
         "\xEF\xBB\xBF",
         {{"General", "Sys_Port", "<default>"}},
         {"General", "Sys_Port", "COM2"},
         "\xEF\xBB\xBF[General]\r\nSys_Port=COM2\r\n"},
        {"UTF-8 without a byte-order mark, as a text editor saves it",
         "[ENGLISH]\r\nPort_St_Open=open \xE2\x80\x94 %1\r\n",
         {{"ENGLISH", "Port_St_Open", QStringLiteral("open \u2014 %1")}},
         {"English", "Port_St_Gone", QStringLiteral("unplugged \u2014 wait")},
         "[ENGLISH]\r\nPort_St_Open=open \xE2\x80\x94 %1\r\nPort_St_Gone=unplugged \xE2\x80\x94 "
         "wait\r\n"},
        {"Windows-1252 beyond ASCII, which is no valid UTF-8",
         "[General]\r\nK=\xBFS\xED? \xC3\r\n",
         {{"General", "K", QStringLiteral("\u00BFS\u00ED? \u00C3")}},
         {"General", "L", QStringLiteral("\u00E9")},
         "[General]\r\nK=\xBFS\xED? \xC3\r\nL=\xE9\r\n"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        TIniFile ini = Con(caso.antes);
        for (const Lectura& l : caso.lecturas) {
            EXPECT_EQ(ini.ReadString(l.seccion, l.clave, "<default>"), l.esperado);
        }
        const Lectura& e = caso.escritura;
        ASSERT_TRUE(ini.WriteString(e.seccion, e.clave, e.esperado));
        EXPECT_EQ(Lee_Bytes(Ruta()), caso.despues);
        for (const Lectura& l : caso.lecturas) {
            if (QString(l.clave).compare(e.clave, Qt::CaseInsensitive) != 0) {
                EXPECT_EQ(ini.ReadString(l.seccion, l.clave, "<default>"), l.esperado);
            }
        }
        EXPECT_EQ(ini.ReadString(e.seccion, e.clave, "<default>"), e.esperado);
        EXPECT_FALSE(ini.ReadSections().isEmpty());
        EXPECT_FALSE(ini.ReadSections().first().startsWith(QChar(0xFEFF)));
    }
}

TEST_F(TextsIniTest, AByteOrderMarkIsNoPartOfTheFirstSectionsName) {
    const TIniFile ini = Con("\xEF\xBB\xBF[ESPA\xC3\x91OL]\r\nK=\xE2\x82\xAC\r\n");
    EXPECT_EQ(ini.ReadSections(), QStringList{QStringLiteral("ESPA\u00D1OL")});
    EXPECT_EQ(ini.ReadString(QStringLiteral("espa\u00F1ol"), "k", "-"), QStringLiteral("\u20AC"));
}

TEST(TextsCp1252, EveryByteSurvivesARoundTrip) {
    QByteArray todos;
    for (int b = 0; b < 256; ++b) {
        todos.append(static_cast<char>(b));
    }
    EXPECT_EQ(A_Cp1252(Desde_Cp1252(todos)), todos);
    EXPECT_EQ(Desde_Cp1252("\x80\x9F\xBF"), QStringLiteral("\u20AC\u0178\u00BF"));
    EXPECT_EQ(A_Cp1252(QStringLiteral("\u0416\u4E2D")), "??"); // not in the code page
}

} // namespace
