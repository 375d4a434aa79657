#include "F_Entrega.h"
#include "Informe_Entrega.h"
#include "ModalWatcher.h"
#include "record_fixture.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace kalvex::test {
namespace {

class HandoverReport : public ::testing::Test {
protected:
    // The report's text as a reader extracts it from the PDF.
    QString Written(const TInstantanea& s) {
        const QString path = dir.filePath("handover.pdf");
        QString causa;
        EXPECT_TRUE(Informe_Entrega(s, path, causa)) << causa.toStdString();
        return TextOf(path);
    }
    static QString TextOf(const QString& path) {
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
        "Clashes in the installation No clashes\\. 2 ?/ ?3 Code plan .* 3 ?/ ?3$")));
}

// The first page is the one signed: who hands over to whom, what is not confirmed, and the
// lines to sign on, a name typed in the dialog printed on its line; the decoders follow.
TEST_F(HandoverReport, TheFirstPageNamesThePartiesSumsUpAndHasLinesToSign) {
    TInstantanea s = Sample();
    s.Entrega = {"Ruiz e Hijos", "", "Calle Mayor 12, Madrid",
                 "Keys at the caretaker's.\nRing twice."};
    EXPECT_TRUE(Written(s).contains(QRegularExpression(QString::fromUtf8(
        "^Handover report Site Calle Mayor 12 Date \\S+ \\S+ Installer or company Ruiz e Hijos "
        "Site address Calle Mayor 12, Madrid Notes Keys at the caretaker's\\. Ring twice\\. "
        "Summary Decoders recorded 3 Decoders confirmed by a read-out 1 of 3 Clashes 1 "
        "Not confirmed by a read-out \\(.*\\): Garage \\(6759 - Relays Decoder 8\\) "
        "Entr\u00E9e B \\(6734 - Torvik Decoder\\) Signatures Installer Customer "
        "Name Ruiz e Hijos _+ Date _+ _+ Signature _+ _+ 1 ?/ ?3 6745 - Audio Decoder 4 "))))
        << Written(s).toStdString();

    for (TDecoder_Registro& d : s.Decoders)
        d.Confirmado = true;
    s.Choques.clear();
    s.Entrega = {};
    const QString text = Written(s);
    EXPECT_TRUE(text.contains(QRegularExpression(
        "Date \\S+ \\S+ Summary Decoders recorded 3 Decoders confirmed by a read-out 3 of 3 "
        "Clashes 0 Every decoder's configuration has been confirmed by a read-out\\. Signatures "
        "Installer Customer Name _+ _+ Date")))
        << text.toStdString();

    // Read out by a survey that could not tell its model: confirmed, but not settled.
    s.Decoders[2].Referencia = 0;
    s.Decoders[2].Posibles = {6745, 6713, 6734};
    const QString undecided = Written(s);
    EXPECT_TRUE(undecided.contains(QRegularExpression(QString::fromUtf8(
        "read-out 3 of 3 Clashes 0 Every decoder's configuration has been confirmed by a "
        "read-out\\. Model not yet settled \\(.*\\): Entr\u00E9e B \\(6745, 6713 or 6734\\) "
        "Signatures"))))
        << undecided.toStdString();
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

    s.Entrega = {"<b>Ruiz</b>", "O'Neil & Sons", "", "one <br> two\nthree"};
    const QString details = Html_Informe(s, At(9, 10, 0));
    EXPECT_TRUE(details.contains("&lt;b&gt;Ruiz&lt;/b&gt;"));
    EXPECT_TRUE(details.contains("O'Neil &amp; Sons"));
    EXPECT_TRUE(details.contains("one &lt;br&gt; two<br>three"));
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

// Takes what the program asks the desktop to open, so that no viewer starts.
class Opened : public QObject {
    Q_OBJECT
public:
    Opened() { QDesktopServices::setUrlHandler("file", this, "Open"); }
    ~Opened() override { QDesktopServices::unsetUrlHandler("file"); }
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

class HandoverDialog : public HandoverReport {
protected:
    void SetUp() override {
        source.snapshot.Entrega.Cliente = "Comunidad Calle Mayor 12";
        dialog.Pon_Fuente(&source);
    }
    FakeSource source;
    TF_Entrega dialog;
};

// What was typed is stored with the installation, the report is worded in the language
// chosen for it, and the program goes on in its own.
TEST_F(HandoverDialog, RemembersTheDetailsAndWritesTheReportInTheChosenLanguage) {
    EXPECT_EQ(dialog.Cliente->text(), "Comunidad Calle Mayor 12");
    EXPECT_EQ(dialog.Idioma_Informe->currentText(), "ENGLISH");
    EXPECT_EQ(dialog.Idioma_Informe->count(), 4);
    EXPECT_EQ(dialog.Fichero->text(),
              QDir::toNativeSeparators(QDir::home().filePath("Calle_Mayor_12.pdf")));
    dialog.Instalador->setText("  Ruiz e Hijos ");
    dialog.Notas->setPlainText("Keys at the caretaker's\n");
    dialog.Idioma_Informe->setCurrentText(QString::fromUtf8("FRAN\u00C7AIS"));
    dialog.Fichero->setText(dir.filePath("rapport"));
    Opened opened;
    ModalWatcher boxes([](QWidget* box) {
        for (QAbstractButton* b : static_cast<QMessageBox*>(box)->buttons())
            if (b->text() == "Open the report")
                b->click();
    });
    EXPECT_TRUE(dialog.Haz_Informe());

    EXPECT_EQ(source.snapshot.Entrega.Instalador, "Ruiz e Hijos");
    EXPECT_EQ(source.snapshot.Entrega.Notas, "Keys at the caretaker's");
    EXPECT_EQ(Idioma, "ENGLISH");
    ASSERT_EQ(boxes.Dialogs().size(), 1u);
    EXPECT_EQ(boxes.Dialogs()[0].text, "The handover report has been written to " +
                                           QDir::toNativeSeparators(dir.filePath("rapport.pdf")) +
                                           ".");
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl::fromLocalFile(dir.filePath("rapport.pdf"))});
    const QString text = TextOf(dir.filePath("rapport.pdf"));
    EXPECT_TRUE(text.startsWith("Rapport de livraison Site Calle Mayor 12 Date "))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Installateur ou entreprise Ruiz e Hijos Client Comunidad"));
}

// A report that cannot be written leaves the dialog open with everything typed, and says so
// in the program's language; what was typed is stored all the same. A record that cannot store
// it still gets its report, and the box says what was not kept.
TEST_F(HandoverDialog, AFailedWriteOrAFailedStoreIsSaidInTheProgramsLanguage) {
    dialog.Instalador->setText("Ruiz e Hijos");
    dialog.Idioma_Informe->setCurrentText("DEUTSCH");
    dialog.Fichero->setText(dir.filePath("gone/report.pdf"));
    {
        ModalWatcher boxes;
        EXPECT_FALSE(dialog.Haz_Informe());
        ASSERT_EQ(boxes.Dialogs().size(), 1u);
        EXPECT_TRUE(boxes.Dialogs()[0].text.contains("report.pdf could not be written: "));
    }
    EXPECT_EQ(Idioma, "ENGLISH");
    EXPECT_EQ(source.snapshot.Entrega.Instalador, "Ruiz e Hijos");
    EXPECT_EQ(dialog.Instalador->text(), "Ruiz e Hijos");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    source.readOnly = true;
    dialog.Cliente->setText("Another customer");
    dialog.Fichero->setText(dir.filePath("report.pdf"));
    {
        ModalWatcher boxes;
        EXPECT_TRUE(dialog.Haz_Informe());
        ASSERT_EQ(boxes.Dialogs().size(), 1u);
        EXPECT_TRUE(boxes.Dialogs()[0].text.endsWith(
            "could not be kept in the installation record (it is open read-only, or its file "
            "could not be written); the report holds them."));
    }
    EXPECT_TRUE(TextOf(dir.filePath("report.pdf")).contains("Kunde Another customer"));
    // Details the record already holds are not stored again, and not said to be lost.
    const int stored = source.handovers;
    dialog.Pon_Fuente(&source);
    dialog.Fichero->setText(dir.filePath("again.pdf"));
    ModalWatcher again;
    EXPECT_TRUE(dialog.Haz_Informe());
    EXPECT_EQ(source.handovers, stored);
    ASSERT_EQ(again.Dialogs().size(), 1u);
    EXPECT_FALSE(again.Dialogs()[0].text.contains("could not be kept"));
}

} // namespace
} // namespace kalvex::test

#include "handover_report_test.moc"
