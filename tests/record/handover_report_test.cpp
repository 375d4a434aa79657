#include "Informe_Entrega.h"
#include "record_fixture.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace kalvex::test {
namespace {

class HandoverReport : public ::testing::Test {
protected:
    // The report's text as a reader extracts it from the PDF.
    QString Written(const TInstantanea& s) {
        const QString path = dir.filePath("handover.pdf");
        QString causa;
        EXPECT_TRUE(Informe_Entrega(s, path, causa)) << causa.toStdString();
        EXPECT_TRUE(ReadAll(path).startsWith("%PDF-"));
        const QString reader = QStandardPaths::findExecutable("pdftotext");
        if (reader.isEmpty()) {
            ADD_FAILURE() << "pdftotext is missing: install poppler-utils (scripts/bootstrap.sh)";
            return {};
        }
        QProcess p;
        p.start(reader, {"-layout", "-enc", "UTF-8", path, "-"});
        EXPECT_TRUE(p.waitForFinished(30000));
        // Ligatures the font drew are letters again, and the layout's blanks one space.
        return QString::fromUtf8(p.readAllStandardOutput())
            .normalized(QString::NormalizationForm_KC)
            .simplified();
    }

    Texts english;
    QTemporaryDir dir;
};

TEST_F(HandoverReport, OneSectionPerDecoderWithItsValuesAndTheClashesAtTheEnd) {
    const QString text = Written(Sample());
    EXPECT_TRUE(text.startsWith("Handover report Site Calle Mayor 12 Date ")) << text.toStdString();
    const char* headings[] = {"6745 - Audio Decoder 4 \u2014 Entrance A, floor 3",
                              "6759 - Relays Decoder 8 \u2014 Garage",
                              "6734 - Torvik Decoder \u2014 Entr\u00E9e B"};
    qsizetype last = -1;
    for (const char* h : headings) {
        const qsizetype at = text.indexOf(QString::fromUtf8(h));
        EXPECT_GT(at, last) << h;
        EXPECT_EQ(text.count(QString::fromUtf8(h)), 1) << h;
        last = at;
    }
    EXPECT_EQ(text.count("Confirmed by a read-out"), 3);
    for (const char* value : {"Output 1, code 1234", "Output 1, time 5 s", "Output 2, code 1240",
                              "Relay 1, code B123", "Relay 1, state On"})
        EXPECT_TRUE(text.contains(value)) << value;
    const qsizetype clashes = text.indexOf("Clashes in the installation");
    EXPECT_GT(clashes, last);
    EXPECT_GT(
        text.indexOf("B123 \u2014 Output 1 of the 6745 \u201CEntrance A, floor 3\u201D, saved"),
        clashes);
    EXPECT_GT(text.indexOf(kSample_Clash), clashes);
    // The code plan last, each space that holds codes with its codes and free runs.
    const qsizetype plan = text.indexOf("Code plan");
    EXPECT_GT(plan, clashes);
    for (const char* row :
         {"Audio codes — in use: 2, free: 9998, clashes: 0",
          "1234 6745 - Audio Decoder 4 Output 1 Entrance A, floor 3", "1235–1239 free (5)",
          "Relay codes — in use: 1", "B123 6759 - Relays Decoder 8 Relay 1 Garage"})
        EXPECT_GT(text.indexOf(QString::fromUtf8(row)), plan) << row;
}

TEST_F(HandoverReport, AnInstallationWithoutClashesSaysSo) {
    TInstantanea s = Sample();
    s.Choques.clear();
    // The page's number under it, and the code plan on the next page.
    EXPECT_TRUE(Written(s).contains(QRegularExpression(
        "Clashes in the installation No clashes\\. 1 ?/ ?2 Code plan .* 2 ?/ ?2$")));
}

// A location or note is the user's text, never markup.
TEST_F(HandoverReport, UserTextsAreShownAsTyped) {
    TInstantanea s = Sample();
    s.Sitio = "<b>Tower</b> & Co";
    s.Decoders[1].Ubicacion = "<i>Garage</i>";
    s.Decoders[1].Nota = "a < b";
    const QString html = Html_Informe(s, At(9, 10, 0));
    EXPECT_TRUE(html.contains("&lt;b&gt;Tower&lt;/b&gt; &amp; Co"));
    EXPECT_FALSE(html.contains("<i>Garage"));
    EXPECT_TRUE(html.contains("a &lt; b"));
    const QString text = Written(s);
    EXPECT_TRUE(text.contains("<b>Tower</b> & Co"));
    EXPECT_TRUE(text.contains("\u2014 <i>Garage</i>"));
}

TEST_F(HandoverReport, AFailedWriteSaysWhyAndLeavesTheOlderReport) {
    QString causa;
    EXPECT_FALSE(Informe_Entrega(Sample(), dir.filePath("gone/handover.pdf"), causa));
    EXPECT_FALSE(causa.isEmpty());

    const QString path = dir.filePath("handover.pdf");
    WriteAll(path, "%PDF-1.4 last week's report");
    causa.clear();
    {
        FileSizeLimit full(1024);
        EXPECT_FALSE(Informe_Entrega(Sample(), path, causa));
    }
    EXPECT_FALSE(causa.isEmpty());
    EXPECT_EQ(ReadAll(path), "%PDF-1.4 last week's report");
}

} // namespace
} // namespace kalvex::test
