#include "Exporta_Csv.h"
#include "F_Entrega.h"
#include "F_Instalacion.h"
#include "ModalWatcher.h"
#include "record_fixture.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace kalvex::test {
namespace {

using Calls = std::vector<std::pair<qint64, QString>>;

class InstallationWindow : public ::testing::Test {
protected:
    void SetUp() override {
        source.history[1] = {
            {TEvento_Registro::TTipo::Lectura,
             At(8, 9, 30),
             "/dev/ttyUSB0",
             source.snapshot.Decoders[0].Configuracion,
             {},
             false,
             {}},
            {TEvento_Registro::TTipo::Grabacion,
             At(8, 9, 45),
             {},
             {{"Edit3", "Output 2, code", "1240"}},
             {false},
             false,
             "One value was not written"},
        };
        Open();
    }
    void Open() {
        window = std::make_unique<TF_Instalacion>();
        window->Pon_Fuente(&source);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        list = Child<QTreeWidget>("Lista");
        history = Child<QTreeWidget>("Historia");
        location = Child<QLineEdit>("Ubicacion");
        note = Child<QLineEdit>("Nota");
    }
    void TearDown() override { window.reset(); }

    template <typename T> T* Child(const char* name) {
        T* c = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // The visible rows, top first, as "cell|cell|…".
    static QStringList Rows(QTreeWidget* tree) {
        QStringList out;
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* r = tree->topLevelItem(i);
            if (r->isHidden())
                continue;
            QStringList cells;
            for (int c = 0; c < tree->columnCount(); ++c)
                cells << r->text(c);
            out << cells.join('|');
        }
        return out;
    }
    QStringList Locations() {
        QStringList out;
        for (const QString& row : Rows(list))
            out << row.section('|', 1, 1);
        return out;
    }
    static void ClickRow(QTreeWidget* tree, const QString& firstCells) {
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            QTreeWidgetItem* r = tree->topLevelItem(i);
            if ((r->text(0) + '|' + r->text(1)).startsWith(firstCells)) {
                QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                                  tree->visualItemRect(r).center());
                return;
            }
        }
        ADD_FAILURE() << "no row " << firstCells.toStdString();
    }
    void SelectLocation(const QString& where) {
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->text(1) == where)
                return ClickRow(list, list->topLevelItem(i)->text(0) + '|' + where);
        ADD_FAILURE() << "no decoder at " << where.toStdString();
    }
    void ClickHeading(int column) {
        QHeaderView* h = list->header();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(column) + 6, h->height() / 2));
    }
    static void Type(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    Texts english;
    FakeSource source;
    // Looks at each modal window before the watcher closes it.
    std::function<void(QWidget*)> inspect;
    ModalWatcher boxes{[this](QWidget* w) {
        if (inspect)
            inspect(w);
    }};
    std::unique_ptr<TF_Instalacion> window;
    QTreeWidget* list = nullptr;
    QTreeWidget* history = nullptr;
    QLineEdit* location = nullptr;
    QLineEdit* note = nullptr;
};

TEST_F(InstallationWindow, ListsEachDecoderWithItsCodesReadsAndSavesAndTheClashes) {
    EXPECT_EQ(Child<QLabel>("Label1")->text(), "Installation \u2014 Calle Mayor 12");
    EXPECT_EQ(Rows(list), (QStringList{
                              "6745 - Audio Decoder 4|Entrance A, floor 3|1234, 1240|"
                              "2026-12-08 09:30:00|2026-12-08 09:45:00|All values written",
                              "6734 - Torvik Decoder|Entr\u00E9e B||never|never|",
                              "6759 - Relays Decoder 8|Garage|B123|2026-12-07 16:05:00|never|",
                          }));
    auto* clashes = Child<QListWidget>("Choques");
    ASSERT_EQ(clashes->count(), 1);
    EXPECT_TRUE(clashes->item(0)->text().endsWith(kSample_Clash))
        << clashes->item(0)->text().toStdString();
    // Nothing selected yet: nothing to edit.
    EXPECT_FALSE(location->isEnabled());
    EXPECT_FALSE(note->isEnabled());
}

TEST_F(InstallationWindow, HeadingsSortByMomentAndModelNotByText) {
    ClickHeading(3); // last read: never first, then oldest
    EXPECT_EQ(Locations(), (QStringList{"Entr\u00E9e B", "Garage", "Entrance A, floor 3"}));
    ClickHeading(3);
    EXPECT_EQ(Locations(), (QStringList{"Entrance A, floor 3", "Garage", "Entr\u00E9e B"}));
    ClickHeading(0);
    EXPECT_EQ(Locations(), (QStringList{"Entr\u00E9e B", "Entrance A, floor 3", "Garage"}));
}

TEST_F(InstallationWindow, TheFilterMatchesAnyColumnWhateverTheCase) {
    auto* filter = Child<QLineEdit>("Filtro");
    const struct {
        const char* typed;
        QStringList shown;
    } cases[] = {
        {"ENTR", {"Entrance A, floor 3", "Entr\u00E9e B"}},
        {"b123", {"Garage"}},               // a code
        {"relays", {"Garage"}},             // the model
        {"12-08", {"Entrance A, floor 3"}}, // a moment
        {"nowhere", {}},
        {"", {"Entrance A, floor 3", "Entr\u00E9e B", "Garage"}},
    };
    for (const auto& c : cases) {
        filter->clear();
        QTest::keyClicks(filter, c.typed);
        EXPECT_EQ(Locations(), c.shown) << c.typed;
    }
}

TEST_F(InstallationWindow, ADecoderTheFilterHidesIsNoLongerTheOneEdited) {
    SelectLocation("Garage");
    EXPECT_EQ(location->text(), "Garage");
    QTest::keyClicks(Child<QLineEdit>("Filtro"), "entr");
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_EQ(location->text(), "");
    EXPECT_FALSE(location->isEnabled());
}

TEST_F(InstallationWindow, SelectingShowsTheHistoryNewestFirstAndAnEventsValues) {
    SelectLocation("Entrance A, floor 3");
    EXPECT_EQ(location->text(), "Entrance A, floor 3");
    EXPECT_EQ(note->text(), "Behind the \"blue\" door");
    EXPECT_EQ(Rows(history),
              (QStringList{"2026-12-08 09:45:00|Save \u2014 One value was not written|"
                           "Output 2, code: 1240",
                           "2026-12-08 09:30:00|Read-out \u2014 /dev/ttyUSB0|Output 1, code: "
                           "1234; Output 1, time: 5 s; Output 2, code: 1240"}));
    auto* values = Child<QTreeWidget>("Valores");
    ClickRow(history, "2026-12-08 09:30:00");
    EXPECT_EQ(Rows(values),
              (QStringList{"Output 1, code|1234", "Output 1, time|5 s", "Output 2, code|1240"}));
    ClickRow(history, "2026-12-08 09:45:00");
    EXPECT_EQ(Rows(values), QStringList{"Output 2, code|1240"});
    // The write the decoder did not acknowledge is marked.
    EXPECT_FALSE(values->topLevelItem(0)->icon(1).isNull());

    SelectLocation("Garage");
    EXPECT_TRUE(Rows(history).isEmpty());
    EXPECT_TRUE(Rows(values).isEmpty());
}

TEST_F(InstallationWindow, EditedLocationAndNoteAreStoredWhenEditingEnds) {
    SelectLocation("Garage");
    Type(location, "Garage, level -1");
    EXPECT_TRUE(source.locations.empty()); // not while typing
    QTest::keyClick(location, Qt::Key_Return);
    EXPECT_EQ(source.locations, (Calls{{2, "Garage, level -1"}}));
    EXPECT_TRUE(Locations().contains("Garage, level -1"));
    // Return finished the field and did nothing else: no export dialog.
    EXPECT_TRUE(boxes.Dialogs().empty());

    Type(note, "  key at the porter's  ");
    SelectLocation("Entrance A, floor 3"); // leaving the field finishes it
    EXPECT_EQ(source.notes, (Calls{{2, "key at the porter's"}}));
    EXPECT_EQ(note->text(), "Behind the \"blue\" door");

    // Finishing a field without a change stores nothing.
    location->setFocus();
    QTest::keyClick(location, Qt::Key_End);
    QTest::keyClick(location, Qt::Key_Return);
    EXPECT_EQ(source.locations.size(), 1u);

    // The exports carry the new texts, and the clash names the new location at once.
    QTemporaryDir dir;
    ASSERT_TRUE(window->Guarda_Csv(dir.filePath("i.csv")));
    EXPECT_TRUE(ReadAll(dir.filePath("i.csv")).contains("Garage, level -1"));
    const QString choque = Child<QListWidget>("Choques")->item(0)->text();
    EXPECT_TRUE(choque.contains("Relay 1 of the 6759 \u201CGarage, level -1\u201D"))
        << choque.toStdString();
    // A longer location widens its column at once, never cut behind an ellipsis.
    SelectLocation("Garage, level -1");
    const QString longer = "Garage, level -1, beside the lift shaft behind the blue door";
    Type(location, longer);
    QTest::keyClick(location, Qt::Key_Return);
    const auto* list = Child<QTreeWidget>("Lista");
    EXPECT_GE(list->columnWidth(1), list->fontMetrics().horizontalAdvance(longer));
}

TEST_F(InstallationWindow, ASurveysProblemsShowAndAnUndecidedModelIsSettled) {
    auto* problems = Child<QTreeWidget>("Problemas");
    auto* settle = Child<QPushButton>("B_Modelo");
    EXPECT_FALSE(problems->isVisible()); // no survey, nothing to show
    TDecoder_Registro undecided = Decoder(4, 0, "Portal B", {});
    undecided.Posibles = {6745, 6713, 6734};
    source.snapshot.Decoders << undecided;
    source.snapshot.Problemas = {
        {At(8, 10, 0), {"0123", 0x45, TFallo_Sondeo::Sin_Lectura, "/dev/ttyUSB0"}}};
    window->Actualiza();
    EXPECT_EQ(Rows(problems),
              QStringList{"2026-12-08 10:00:00|0123|45|no read-out within 1 s|/dev/ttyUSB0"});
    SelectLocation("Garage");
    EXPECT_FALSE(settle->isVisible());
    list->setCurrentItem(list->findItems("Portal B", Qt::MatchExactly, 1).value(0));
    EXPECT_TRUE(settle->isVisible());
    EXPECT_TRUE(Rows(list).contains("6745, 6713 or 6734|Portal B||never|never|"));
    EXPECT_TRUE(window->Decide_Modelo(6713));
    EXPECT_EQ(source.settled, (std::vector<std::pair<qint64, int>>{{4, 6713}}));
    const QTreeWidgetItem* settled = list->findItems("Portal B", Qt::MatchExactly, 1).value(0);
    ASSERT_NE(settled, nullptr);
    EXPECT_TRUE(settled->text(0).startsWith("6713 - ")) << settled->text(0).toStdString();
    EXPECT_FALSE(settle->isVisible());
}

TEST_F(InstallationWindow, AChangeTheRecordRefusesIsReportedAndUndone) {
    source.refuse = true;
    SelectLocation("Garage");
    Type(location, "Cellar");
    QTest::keyClick(location, Qt::Key_Return);
    ASSERT_EQ(boxes.Dialogs().size(), 1u);
    EXPECT_TRUE(boxes.Dialogs()[0].text.startsWith("The installation record could not store"));
    EXPECT_EQ(location->text(), "Garage");
    EXPECT_TRUE(Locations().contains("Garage"));
}

TEST_F(InstallationWindow, ARecordOpenedReadOnlyCannotBeEdited) {
    source.readOnly = true;
    window->Actualiza();
    SelectLocation("Garage");
    EXPECT_TRUE(location->isReadOnly());
    EXPECT_TRUE(note->isReadOnly());
    Type(location, "Cellar");
    QTest::keyClick(location, Qt::Key_Return);
    EXPECT_EQ(location->text(), "Garage");
    EXPECT_TRUE(source.locations.empty());
    EXPECT_TRUE(boxes.Dialogs().empty());
}

TEST_F(InstallationWindow, ARefreshKeepsTheSelectionAndWhatIsBeingTyped) {
    SelectLocation("Garage");
    Type(note, "half typ");
    source.snapshot.Decoders[1].Resultado = "All values written";
    source.snapshot.Decoders << Decoder(4, 6759, "Roof", {});
    source.history[2] = {
        {TEvento_Registro::TTipo::Lectura, At(9, 8, 0), "COM1", {}, {}, false, {}}};
    window->Actualiza();
    EXPECT_EQ(Rows(list).size(), 4);
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->selectedItems()[0]->text(1), "Garage");
    EXPECT_EQ(list->selectedItems()[0]->text(5), "All values written");
    EXPECT_EQ(note->text(), "half typ");
    EXPECT_EQ(Rows(history).size(), 1);
    EXPECT_TRUE(source.notes.empty());
}

TEST_F(InstallationWindow, WithoutARecordTheWindowIsEmptyAndExportsNothing) {
    window->Pon_Fuente(nullptr);
    EXPECT_TRUE(Rows(list).isEmpty());
    EXPECT_FALSE(Child<QPushButton>("B_Csv")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>("B_Informe")->isEnabled());
}

TEST_F(InstallationWindow, AnExportThatCannotBeWrittenSaysWhatFailedAndWhatToDo) {
    QTemporaryDir dir;
    const QString csv = dir.filePath("gone/installation.csv");
    EXPECT_FALSE(window->Guarda_Csv(csv));
    ASSERT_EQ(boxes.Dialogs().size(), 1u);
    EXPECT_TRUE(boxes.Dialogs()[0].text.startsWith(csv + " could not be written: "));
    EXPECT_TRUE(boxes.Dialogs()[0].text.contains("Nothing was saved."));
}

TEST_F(InstallationWindow, TheExportButtonsAskWhereToWrite) {
    QTemporaryDir dir;
    std::vector<QString> asked;
    inspect = [&](QWidget* w) {
        if (auto* d = qobject_cast<QFileDialog*>(w)) {
            asked.push_back(QFileInfo(d->selectedFiles().value(0)).fileName());
            d->selectFile(dir.filePath("mine"));
            static_cast<QDialog*>(d)->accept(); // public there
        }
        // The report's own dialog proposes its file and writes it; the box that says so is
        // closed by a watcher of its own, this one being busy.
        if (auto* report = qobject_cast<TF_Entrega*>(w)) {
            asked.push_back(QFileInfo(report->Fichero->text()).fileName());
            report->Fichero->setText(dir.filePath("report.pdf"));
            ModalWatcher written;
            report->B_Hacer->click();
            EXPECT_TRUE(written.Saw("Informe_Escrito"));
        }
    };
    Child<QPushButton>("B_Csv")->click();
    Child<QPushButton>("B_Informe")->click();
    EXPECT_EQ(asked, (std::vector<QString>{"Calle_Mayor_12.csv", "Calle_Mayor_12.pdf"}));
    EXPECT_EQ(ReadAll(dir.filePath("mine.csv")), Texto_Csv(source.snapshot));
    EXPECT_TRUE(ReadAll(dir.filePath("report.pdf")).startsWith("%PDF-"));
}

// A busy installation as the window opens on it: eight codes to a decoder (the last one the
// clash to see), a location as installers write them, a failed Save's outcome.
TInstantanea Busy() {
    TInstantanea s = Sample();
    TDecoder_Registro& a = s.Decoders[0];
    a.Referencia = 6746;
    a.Ubicacion = QStringLiteral("Portal A (street door)");
    a.Codigos.clear();
    for (int i = 1; i <= 8; ++i)
        a.Codigos.append({TEspacio_Codigo::Llamada, 0x300 + i, 0x300 + i,
                          QStringLiteral("030%1").arg(i), QStringLiteral("Output %1").arg(i)});
    a.Resultado = Texto(QStringLiteral("F_MENSA04"));
    s.Decoders[1].Resultado = Texto(QStringLiteral("F_MENSA19"));
    return s;
}

// At the size it opens with on a laptop's screen (1366 pixels wide), no column cuts its heading
// or any row's text short, the codes are all there, and the last column needs no scrolling.
TEST(InstallationWindowLayout, EveryColumnShowsItsTextWholeAtTheDefaultSizeInEveryLanguage) {
    for (const char* idioma : {"ENGLISH", "ESPA\u00D1OL", "FRAN\u00C7AIS", "DEUTSCH"}) {
        SCOPED_TRACE(idioma);
        Texts texts(QString::fromUtf8(idioma));
        FakeSource source;
        source.snapshot = Busy();
        TF_Instalacion window;
        window.Pon_Fuente(&source);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        // The test's screen is smaller than a laptop's.
        EXPECT_LE(window.sizeHint().width(), 1366 * 19 / 20);
        window.resize(window.sizeHint());
        QCoreApplication::processEvents();
        auto* list = window.findChild<QTreeWidget*>("Lista");
        QHeaderView* header = list->header();
        for (int col = 0; col < list->columnCount(); ++col) {
            SCOPED_TRACE(list->headerItem()->text(col).toStdString());
            EXPECT_GE(header->sectionSize(col), header->sectionSizeHint(col));
            EXPECT_GE(header->sectionSize(col),
                      static_cast<QAbstractItemView*>(list)->sizeHintForColumn(col));
        }
        EXPECT_LE(header->length(), list->viewport()->width());
        EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
        QString codes;
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            codes += list->topLevelItem(row)->text(2);
        for (const char* code : {"0301", "0304", "0305", "0308"})
            EXPECT_TRUE(codes.contains(code)) << code;
    }
}

} // namespace
} // namespace kalvex::test
