// The installation record as the program keeps it: what the editors and the devices test put
// into the open installation, the clash warning before a Save, a damaged file set aside, and
// the exports of the Installation window.

#include "../models/editor_fixture.h"
#include "Base_Instalacion.h"
#include "F_Instalacion.h"
#include "F_Plan_Codigos.h"
#include "Instalacion_Abierta.h"
#include "Menu_Instalacion.h"
#include "UF_Sondeo.h"
#include "UF_Test.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTreeWidget>

#include <algorithm>

using namespace kalvex::test;

namespace {

const char* Installation = R"(
[hall]
model = 6745
codes = 1111 1112 - 1114

[seltra]
model = 6747
serves = 2001
codes = 2001 - - -
)";

enum { Hall, Seltra };

class InstallationRecordTest : public EditorTest {
protected:
    void SetUp() override { Start(Installation); }

    TBase_Instalacion* Base() const { return main->Instalacion->Base(); }
    TInstantanea Snapshot() const { return Base()->Instantanea(); }
    // The read-out is recorded once the editor's own reads are done.
    void WaitDecoders(int count) {
        ASSERT_TRUE(WaitUntil([&] { return Snapshot().Decoders.size() == count; }))
            << Snapshot().Decoders.size();
    }
    static QStringList Texts(const QList<TValor_Registro>& valores) {
        QStringList out;
        for (const TValor_Registro& v : valores)
            out << Redacta(v.Texto);
        return out;
    }
    static QString Data() { return qEnvironmentVariable("KALVEX_DATA_DIR"); }
};

TEST_F(InstallationRecordTest, ReadOutsSavesAndDevicesTestRowsLandInTheOpenInstallation) {
    EXPECT_EQ(Base()->Fichero(), QDir(Data()).filePath("installation.kalvex"));
    EXPECT_TRUE(main->Menu_Instalacion->Instalacion_Actual->text().startsWith("Installation: "));

    TF_Decoder* editor = Ready(Go(6745), "hall");
    WaitDecoders(1);
    ReadOut("hall"); // the same decoder again
    QTest::qWait(300);
    WaitDecoders(1);
    TDecoder_Registro d = Snapshot().Decoders[0];
    EXPECT_EQ(d.Referencia, 6745);
    EXPECT_EQ(Texts(d.Configuracion), (QStringList{"1111", "1112", "", "1114"}));
    EXPECT_EQ(Base()->Historia(d.Id).size(), 2);

    Type(editor, {"1111", "1112", "1113", "1114"});
    Save(editor);
    d = Snapshot().Decoders[0];
    EXPECT_EQ(Texts(d.Configuracion), (QStringList{"1111", "1112", "1113", "1114"}));
    EXPECT_EQ(Redacta(d.Resultado), "Values updated");
    EXPECT_FALSE(d.Confirmado);
    const QList<TEvento_Registro> historia = Base()->Historia(d.Id);
    ASSERT_EQ(historia.size(), 3);
    EXPECT_EQ(historia.back().Tipo, TEvento_Registro::TTipo::Grabacion);
    EXPECT_EQ(historia.back().Aceptadas, (QList<bool>{true, true, true, true}));
    Close(editor);

    // Read back after the Save: the same decoder, now confirmed.
    Ready(Go(6745), "hall");
    QTest::qWait(300);
    WaitDecoders(1);
    EXPECT_TRUE(Snapshot().Decoders[0].Confirmado);
}

TEST_F(InstallationRecordTest, AClashIsCaughtBeforeAnyFrameAndSaveAnywayWrites) {
    Close(Ready(Go(6745), "hall"));
    WaitDecoders(1);
    TF_Decoder* editor = Ready(Go(6747), "seltra");
    WaitDecoders(2);

    QString shown;
    inspect = [&](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->objectName() == "Choques")
            shown = box->informativeText();
    };
    Type(editor, {"2001", "1112"});
    Save(editor); // the watcher answers Cancel
    EXPECT_TRUE(shown.startsWith("1112 — Output 2 of the 6745")) << shown.toStdString();
    EXPECT_TRUE(Sent().empty()) << Trace();
    ExpectRestored(editor);

    inspect = [](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->objectName() == "Choques")
            box->buttons().first()->click();
    };
    Save(editor);
    EXPECT_EQ(sim->Word(Seltra, 0x02), 0x1112);
    // Both decoders now answer 1112: the installation lists the clash.
    EXPECT_EQ(Snapshot().Choques.size(), 1);
}

TEST_F(InstallationRecordTest, DevicesTestRowsAreRecorded) {
    TF_Test* test = Ventanas().F_Test;
    test->show();
    QTest::keyClicks(test->findChild<QLineEdit*>("Edit1"), "1111");
    sim->ClearLog();
    QTest::mouseClick(test->findChild<QPushButton*>("B_START"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return test->findChild<QPushButton*>("B_START")->isEnabled(); }));
    test->close();
    // The rows are stored by the record's own thread; reopening the file waits for them.
    const QString fichero = Base()->Fichero();
    main->Menu_Instalacion->Abre(fichero);
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "devices");
    {
        db.setDatabaseName(fichero);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("SELECT * FROM device_tests"));
        ASSERT_TRUE(q.next());
    }
    db.close();
    db = {};
    QSqlDatabase::removeDatabase("devices");
}

TEST_F(InstallationRecordTest, ADamagedFileIsSetAsideAndTheProgramGoesOn) {
    const QString fichero = Base()->Fichero();
    main->Instalacion->Abre(QDir(Data()).filePath("other.kalvex"), main);
    {
        QFile f(fichero);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("this is not a database, but a damaged one");
    }
    main->Menu_Instalacion->Abre(fichero);
    ASSERT_TRUE(WaitDialog("Aviso_Instalacion"));
    const QStringList aparte =
        QDir(Data()).entryList({"installation.kalvex.damaged-*"}, QDir::Files);
    EXPECT_EQ(aparte.size(), 1);
    EXPECT_TRUE(dialogs->Dialogs().back().text.contains(aparte.value(0)));
    Ready(Go(6745), "hall");
    WaitDecoders(1);
}

TEST_F(InstallationRecordTest, NewOpenAndTheSiteNameAreRememberedAndShown) {
    const QString nueva = QDir(Data()).filePath("Calle Mayor.kalvex");
    main->Menu_Instalacion->Nueva(nueva);
    EXPECT_EQ(Base()->Fichero(), nueva);
    ASSERT_TRUE(main->Menu_Instalacion->Pon_Sitio("Calle Mayor 12"));
    EXPECT_EQ(main->Menu_Instalacion->Instalacion_Actual->text(), "Installation: Calle Mayor 12");
    EXPECT_EQ(main->Instalacion->Recientes().value(0), nueva);
    // New never empties an existing installation.
    main->Menu_Instalacion->Nueva(nueva);
    EXPECT_TRUE(LastMessage().contains("already exists")) << LastMessage().toStdString();
    EXPECT_EQ(Base()->Sitio(), "Calle Mayor 12");

    // The next start opens the installation used last.
    Destruye_Ventanas();
    Crea_Ventanas();
    main = Ventanas().F_Princ;
    EXPECT_EQ(Base()->Fichero(), nueva);
    EXPECT_EQ(Base()->Sitio(), "Calle Mayor 12");
}

TEST_F(InstallationRecordTest, AnInstallationWhoseDriveIsGoneIsAskedAboutNotCreatedAgain) {
    const QString stick = QDir(Data()).filePath("stick");
    const QString fichero = QDir(stick).filePath("site.kalvex");
    main->Menu_Instalacion->Nueva(fichero);
    ASSERT_EQ(Base()->Fichero(), fichero);
    Destruye_Ventanas();
    ASSERT_TRUE(QDir().rename(stick, stick + ".away")); // the stick is pulled out

    // The next start: the question, answered "Not now" (its Escape button).
    Crea_Ventanas();
    main = Ventanas().F_Princ;
    main->Menu_Instalacion->Avisa();
    ASSERT_TRUE(WaitDialog("Instalacion_Ausente"));
    EXPECT_TRUE(dialogs->Dialogs().back().text.contains(fichero));
    EXPECT_EQ(Base(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(stick));
    EXPECT_TRUE(main->Menu_Instalacion->Instalacion_Actual->text().contains("none open"));
    // Work goes on; nothing is recorded, nothing created.
    Close(Ready(Go(6745), "hall"));
    EXPECT_FALSE(QFileInfo::exists(stick));
    // Its entry among the recent installations says the same.
    main->Menu_Instalacion->Abre(fichero);
    EXPECT_TRUE(LastMessage().contains("is not there")) << LastMessage().toStdString();
    EXPECT_FALSE(QFileInfo::exists(stick));

    // Plugged in again: "Look again" opens it.
    ASSERT_TRUE(QDir().rename(stick + ".away", stick));
    inspect = [](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w);
            box && w->objectName() == "Instalacion_Ausente")
            box->buttons().first()->click();
    };
    main->Menu_Instalacion->Avisa();
    ASSERT_TRUE(WaitUntil([&] { return Base() != nullptr; }));
    EXPECT_EQ(Base()->Fichero(), fichero);
}

TEST_F(InstallationRecordTest, TheInstallationWindowExportsWhatWasRecorded) {
    Close(Ready(Go(6745), "hall"));
    WaitDecoders(1);
    main->Menu_Instalacion->Muestra();
    TF_Instalacion* window = Ventanas().F_Instalacion;
    ASSERT_TRUE(window->isVisible());
    const QString csv = QDir(Data()).filePath("hall.csv");
    ASSERT_TRUE(window->Guarda_Csv(csv));
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.contains("1114")) << text.toStdString();
    EXPECT_EQ(text.count("6745"), 4) << text.toStdString(); // one row per value
    window->close();
}

TEST_F(InstallationRecordTest, TheShownWindowFollowsTheRecordAndKeepsWhatIsBeingTyped) {
    Close(Ready(Go(6745), "hall"));
    WaitDecoders(1);
    // The code plan follows the record as the Installation window does.
    main->Menu_Instalacion->Muestra_Plan();
    auto* plan = Ventanas().F_Plan_Codigos->findChild<QTreeWidget*>("Plan");
    ASSERT_EQ(plan->topLevelItemCount(), 1);
    const int rows = plan->topLevelItem(0)->childCount();
    main->Menu_Instalacion->Muestra();
    TF_Instalacion* window = Ventanas().F_Instalacion;
    auto* list = window->findChild<QTreeWidget*>("Lista");
    list->topLevelItem(0)->setSelected(true);
    auto* location = window->findChild<QLineEdit*>("Ubicacion");
    QTest::keyClicks(location, "Portal 2");

    // Another decoder is read while the location is being typed for the first.
    Close(Ready(Go(6747), "seltra"));
    ASSERT_TRUE(WaitUntil([&] { return list->topLevelItemCount() == 2; }));
    EXPECT_GT(plan->topLevelItem(0)->childCount(), rows);
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_TRUE(list->selectedItems().first()->text(0).contains("6745"));
    EXPECT_TRUE(location->isEnabled());
    EXPECT_EQ(location->text(), "Portal 2");

    QTest::keyClick(location, Qt::Key_Return);
    const TInstantanea now = Snapshot();
    const auto hall = std::find_if(now.Decoders.begin(), now.Decoders.end(),
                                   [](const TDecoder_Registro& d) { return d.Referencia == 6745; });
    ASSERT_NE(hall, now.Decoders.end());
    EXPECT_EQ(hall->Ubicacion, "Portal 2");
    Ventanas().F_Plan_Codigos->close();
    window->close();
}

} // namespace

TEST_F(InstallationRecordTest, ASurveyLandsInTheOpenInstallationWhichItsWindowThenShows) {
    TF_Sondeo* survey = Ventanas().F_Sondeo;
    survey->show();
    for (const char* type : {"CB_Tipo1", "CB_Tipo2", "CB_Tipo3", "CB_Tipo4"})
        survey->findChild<QCheckBox*>(QString::fromLatin1(type))->setChecked(false);
    survey->findChild<QCheckBox*>(QStringLiteral("CB_Tipo1"))->setChecked(true);
    survey->findChild<QLineEdit*>(QStringLiteral("Edit_Desde1"))->setText("2000");
    survey->findChild<QLineEdit*>(QStringLiteral("Edit_Hasta1"))->setText("2001");
    survey->findChild<QRadioButton*>(QStringLiteral("R_Rapido"))->setChecked(true);
    QTest::mouseClick(Button(survey, "B_Start"), Qt::LeftButton);

    ASSERT_EQ(Snapshot().Decoders.size(), 1);
    const TDecoder_Registro d = Snapshot().Decoders[0];
    EXPECT_EQ(d.Referencia, 6747);
    EXPECT_EQ(Texts(d.Configuracion), (QStringList{"2001", "", "", ""}));
    ASSERT_EQ(Base()->Historia(d.Id).size(), 1);
    EXPECT_EQ(Base()->Historia(d.Id)[0].Tipo, TEvento_Registro::TTipo::Sondeo);

    QTest::mouseClick(Button(survey, "B_Show"), Qt::LeftButton);
    TF_Instalacion* window = Ventanas().F_Instalacion;
    ASSERT_TRUE(window->isVisible());
    const auto* list = window->findChild<QTreeWidget*>(QStringLiteral("Lista"));
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_TRUE(list->topLevelItem(0)->text(0).startsWith("6747"));
}
