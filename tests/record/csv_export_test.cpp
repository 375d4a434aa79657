#include "Exporta_Csv.h"
#include "record_fixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace kalvex::test {
namespace {

const QByteArray Bom("\xEF\xBB\xBF");

QByteArray Utf8(const char* text) {
    return QByteArray(text);
}

TEST(CsvExport, OneRowPerValueUnderAHeaderInTheUsersLanguage) {
    Texts english;
    EXPECT_EQ(Texto_Csv(Sample()),
              Bom +
                  Utf8("Decoder,Model,Location,Note,Place,Value,Last read,Last saved,Outcome,"
                       "Confirmed by a read-out\r\n"
                       "1,6745 - Audio Decoder 4,\"Entrance A, floor 3\",\"Behind the \"\"blue\"\" "
                       "door\",\"Output 1, code\",1234,2026-12-08 09:30:00,2026-12-08 09:45:00,"
                       "All values written,yes\r\n"
                       "1,6745 - Audio Decoder 4,\"Entrance A, floor 3\",\"Behind the \"\"blue\"\" "
                       "door\",\"Output 1, time\",5 s,2026-12-08 09:30:00,2026-12-08 09:45:00,"
                       "All values written,yes\r\n"
                       "1,6745 - Audio Decoder 4,\"Entrance A, floor 3\",\"Behind the \"\"blue\"\" "
                       "door\",\"Output 2, code\",1240,2026-12-08 09:30:00,2026-12-08 09:45:00,"
                       "All values written,yes\r\n"
                       "2,6759 - Relays Decoder 8,Garage,,\"Relay 1, code\",B123,"
                       "2026-12-07 16:05:00,,,no\r\n"
                       "2,6759 - Relays Decoder 8,Garage,,\"Relay 1, state\",On,"
                       "2026-12-07 16:05:00,,,no\r\n"
                       // Nothing known yet: the decoder is still listed.
                       "3,6734 - Torvik Decoder,Entr\xC3\xA9"
                       "e B,,,,,,,no\r\n"));
}

TEST(CsvExport, HeaderAndYesNoFollowTheLanguage) {
    Texts spanish(QStringLiteral("ESPA\u00D1OL"));
    const QString csv = QString::fromUtf8(Texto_Csv(Sample()).mid(Bom.size()));
    EXPECT_TRUE(csv.startsWith(QStringLiteral("Decoder,Modelo,Ubicaci\u00F3n,Nota,")));
    EXPECT_TRUE(csv.contains(QStringLiteral(",All values written,s\u00ED\r\n")));
    EXPECT_TRUE(csv.endsWith(QStringLiteral(",no\r\n")));
}

// Cells as a spreadsheet must read them back: RFC 4180 quoting, and no text taken for a
// formula.
TEST(CsvExport, NotesAreQuotedAndGuardedAgainstFormulas) {
    Texts english;
    const struct {
        const char* note;
        const char* cell;
    } cases[] = {
        {"plain", "plain"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\rhere", "\"cr\rhere\""},
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"=1+2", "'=1+2"},
        {"+34 600", "'+34 600"},
        {"-3", "'-3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\tcmd", "'\tcmd"},
        {"=a,b", "\"'=a,b\""},
        {"a=b", "a=b"},
        {"", ""},
    };
    for (const auto& c : cases) {
        TInstantanea s;
        TDecoder_Registro d = Decoder(7, 6745, QStringLiteral("Hall"), {{"E", "Output 1", "1"}});
        d.Nota = QString::fromUtf8(c.note);
        s.Decoders = {d};
        const QByteArray csv = Texto_Csv(s);
        const QByteArray row = csv.mid(csv.indexOf("\r\n") + 2);
        EXPECT_EQ(row,
                  "7,6745 - Audio Decoder 4,Hall," + QByteArray(c.cell) + ",Output 1,1,,,,no\r\n")
            << c.note;
    }
}

TEST(CsvExport, AnEmptyInstallationIsTheHeaderAlone) {
    Texts english;
    const QByteArray csv = Texto_Csv(TInstantanea{});
    EXPECT_TRUE(csv.startsWith(Bom + "Decoder,"));
    EXPECT_EQ(csv.count("\r\n"), 1);
}

class CsvFile : public ::testing::Test {
protected:
    Texts english;
    QTemporaryDir dir;
    QString causa;
};

TEST_F(CsvFile, WritesTheWholeTextAndReplacesAnOlderFile) {
    const QString path = dir.filePath("installation.csv");
    WriteAll(path, "old report, much longer than nothing at all\r\n");
    ASSERT_TRUE(Exporta_Csv(Sample(), path, causa)) << causa.toStdString();
    EXPECT_EQ(ReadAll(path), Texto_Csv(Sample()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"installation.csv"});
}

TEST_F(CsvFile, AFolderThatIsNotThereFailsAndSaysWhy) {
    const QString path = dir.filePath("gone/installation.csv");
    EXPECT_FALSE(Exporta_Csv(Sample(), path, causa));
    EXPECT_FALSE(causa.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(CsvFile, AWriteThatFailsPartWayLeavesTheOlderFileAsItWas) {
    const QString path = dir.filePath("installation.csv");
    const QByteArray old = "the report handed over last week\r\n";
    WriteAll(path, old);
    {
        FileSizeLimit full(64);
        EXPECT_FALSE(Exporta_Csv(Sample(), path, causa));
    }
    EXPECT_FALSE(causa.isEmpty());
    EXPECT_EQ(ReadAll(path), old);
    // No half-written temporary file is left beside it either.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"installation.csv"});
}

} // namespace
} // namespace kalvex::test
