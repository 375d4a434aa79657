// A decoder's configuration in a file, and the marks of what a Save will change: every
// model's New column comes back from its file exactly, a file that does not suit the editor
// changes nothing and says why, and the marks follow typing, fill, clear, load and read-outs.

#include "Marcas_Cambio.h"
#include "RecordSpy.h"
#include "editor_fixture.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace kalvex::test;

namespace {

const char* Installation = R"(
[hall]
model = 6745
codes = 1111 1112 - 1114

[sensors]
model = 6758
codes = A101 A102 - A104 A105 A106 A107 A108
times = 5m 5s - 127m 0s 10s 1m 2s

[torvik]
model = 6734
start = 0100
end = 0150
entrance = no
)";

enum { Hall, Sensors, Torvik };

// The controls the user can change make the New column; the Current column's are read-only
// or disabled. The line edit inside a list belongs to its list; the check box beside Save is
// a setting, not a value.
bool IsNew(const QWidget* w) {
    if (auto* edit = qobject_cast<const QLineEdit*>(w))
        return !edit->isReadOnly() && edit->isEnabled();
    return w->isEnabled();
}
QList<QWidget*> Column(QWidget* editor, bool nuevo) {
    QList<QWidget*> out;
    for (QWidget* w : editor->findChildren<QWidget*>()) {
        const bool control =
            (qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w->parent())) ||
            qobject_cast<QComboBox*>(w) || qobject_cast<QCheckBox*>(w);
        if (control && IsNew(w) == nuevo && w->objectName() != "CB_ReadBack")
            out << w;
    }
    return out;
}
// "Edit3=0100", "ComboBoxEx9=1:Minutes", "C1=true": what a column holds, every detail.
QStringList Snapshot(QWidget* editor, bool nuevo) {
    QStringList out;
    for (QWidget* w : Column(editor, nuevo)) {
        QString v;
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            v = edit->text();
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            v = QString::number(combo->currentIndex()) + ':' + combo->currentText();
        else if (auto* check = qobject_cast<QCheckBox*>(w))
            v = check->isChecked() ? "true" : "false";
        out << w->objectName() + '=' + v;
    }
    out.sort();
    return out;
}
QStringList Both(QWidget* editor) {
    return Snapshot(editor, true) + Snapshot(editor, false);
}
// A different value in every New control, each one the field can hold.
void FillNew(QWidget* editor) {
    int i = 0;
    for (QWidget* w : Column(editor, true)) {
        ++i;
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            const int width = edit->maxLength() < 10 ? edit->maxLength() : 2;
            edit->setText(QString::number(1000 + 37 * i).right(width));
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            // Picked from the list, as the user does (the digitizer's list takes no typing).
            ASSERT_GT(combo->count(), 0) << combo->objectName().toStdString();
            combo->setCurrentIndex(i % combo->count());
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            check->setChecked(!check->isChecked());
        }
    }
}
void ClearNew(QWidget* editor) {
    for (QWidget* w : Column(editor, true)) {
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            edit->clear();
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            combo->setCurrentIndex(-1);
            if (combo->isEditable())
                combo->setEditText({});
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            check->setChecked(false);
        }
    }
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class ConfigurationFileTest : public EditorTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Start(Installation);
    }
    void TearDown() override {
        Instala_Registro(nullptr);
        EditorTest::TearDown();
    }
    QString Path(const QString& name) const { return dir.filePath(name); }

    // The file of an editor as a JSON object, changed by `edit`, written under `name`.
    QString Edited(TF_Decoder* editor, const QString& name,
                   const std::function<void(QJsonObject&)>& edit) {
        const QString path = Path(name);
        EXPECT_TRUE(editor->Guarda_Fichero_Configuracion(path));
        QJsonObject o = QJsonDocument::fromJson(ReadAll(path)).object();
        edit(o);
        WriteAll(path, QJsonDocument(o).toJson());
        return path;
    }
    // The New value of `field` in a file's object.
    static void SetNew(QJsonObject& o, const QString& field, const QJsonValue& value) {
        QJsonArray values = o["new"].toArray();
        for (int i = 0; i < values.size(); ++i) {
            QJsonObject v = values[i].toObject();
            if (v["field"] == field) {
                v["value"] = value;
                values[i] = v;
            }
        }
        o["new"] = values;
    }

    static bool Marked(QWidget* w) { return w->font().bold(); }
    static QStringList MarkedNames(QWidget* editor) {
        QStringList out;
        for (QWidget* w : Column(editor, true))
            if (Marked(w))
                out << w->objectName();
        out.sort();
        return out;
    }

    QTemporaryDir dir;
};

TEST_F(ConfigurationFileTest, EveryModelsNewColumnComesBackExactlyFromItsFile) {
    for (const TModelo& modelo : Tabla_Modelos()) {
        TF_Decoder* editor = Editor_Modelo(modelo);
        SCOPED_TRACE(modelo.Referencia);
        Open(editor);
        FillNew(editor);
        const QStringList filled = Snapshot(editor, true);
        const QStringList current = Snapshot(editor, false);
        const QString path = Path(QString::number(modelo.Referencia) + ".json");
        ASSERT_TRUE(editor->Guarda_Fichero_Configuracion(path));
        ClearNew(editor);
        ASSERT_NE(Snapshot(editor, true), filled);
        ASSERT_TRUE(editor->Carga_Fichero_Configuracion(path));
        EXPECT_EQ(Snapshot(editor, true), filled);
        EXPECT_EQ(Snapshot(editor, false), current);
        editor->close();
    }
    EXPECT_TRUE(dialogs->Dialogs().empty()) << LastMessage().toStdString();
}

TEST_F(ConfigurationFileTest, TheFileHoldsBothColumnsTheModelTheDateAndTheInstallation) {
    RecordSpy record;
    record.nombre = "Calle Mayor 12";
    Instala_Registro(&record);
    TF_Decoder* editor = Ready(Go(6745), "hall");
    Edit(editor, 2)->setText("2222");
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    ASSERT_TRUE(editor->Guarda_Fichero_Configuracion(Path("hall.json")));
    // Saving a file never touches the decoder.
    EXPECT_TRUE(Sent().empty()) << Trace();

    const QJsonObject o = QJsonDocument::fromJson(ReadAll(Path("hall.json"))).object();
    EXPECT_EQ(o["format"], "kalvex-decoder-configuration");
    EXPECT_EQ(o["model"], 6745);
    EXPECT_EQ(o["installation"], "Calle Mayor 12");
    EXPECT_EQ(o["program"], "3.3");
    EXPECT_EQ(o["read_out"], true);
    const QDateTime date = QDateTime::fromString(o["date"].toString(), Qt::ISODate);
    EXPECT_GE(date, before);
    EXPECT_LE(date, QDateTime::currentDateTime());
    auto values = [&](const char* column) {
        QStringList out;
        for (const QJsonValue& v : o[column].toArray())
            out << v["field"].toString() + '=' + v["value"].toString() + " (" +
                       v["place"].toString() + ')';
        return out;
    };
    // Keyed by the Current controls in both columns.
    EXPECT_EQ(values("new"), (QStringList{"Edit5=1111 (Output 1)", "Edit6=2222 (Output 2)",
                                          "Edit7= (Output 3)", "Edit8=1114 (Output 4)"}));
    EXPECT_EQ(values("current"), (QStringList{"Edit5=1111 (Output 1)", "Edit6=1112 (Output 2)",
                                              "Edit7= (Output 3)", "Edit8=1114 (Output 4)"}));
}

TEST_F(ConfigurationFileTest, AfterAReadOutLoadingFillsOnlyTheNewColumnTimesAndUnitsIncluded) {
    TF_Decoder* editor = Ready(Go(6758), "sensors", 32);
    const QStringList current = Snapshot(editor, false);
    FillNew(editor);
    const QStringList filled = Snapshot(editor, true);
    ASSERT_TRUE(editor->Guarda_Fichero_Configuracion(Path("sensors.json")));
    QTest::mouseClick(Button(editor, "B_Actuales"), Qt::LeftButton);
    ASSERT_TRUE(editor->Carga_Fichero_Configuracion(Path("sensors.json")));
    EXPECT_EQ(Snapshot(editor, true), filled);
    EXPECT_EQ(Snapshot(editor, false), current);
    EXPECT_TRUE(Sent().empty()) << Trace();
}

TEST_F(ConfigurationFileTest, AnotherModelsFileIsRefusedNamingBothModels) {
    TF_Decoder* hall = Open(Editor_Por_Referencia(6745));
    FillNew(hall);
    ASSERT_TRUE(hall->Guarda_Fichero_Configuracion(Path("hall.json")));
    hall->close();
    // The same layout (6713), the same identification byte (6713, 6734), another layout.
    for (int other : {6713, 6734, 6746}) {
        SCOPED_TRACE(other);
        TF_Decoder* editor = Open(Editor_Por_Referencia(other));
        const QStringList before = Both(editor);
        EXPECT_FALSE(editor->Carga_Fichero_Configuracion(Path("hall.json")));
        EXPECT_EQ(Both(editor), before);
        EXPECT_EQ(DialogNames().back(), "Aviso_Configuracion");
        EXPECT_EQ(LastMessage(), Path("hall.json") +
                                     " was not loaded: it holds the configuration of a 6745 "
                                     "decoder, and this window is for the " +
                                     QString::number(other) + ". The New column is unchanged.");
        editor->close();
    }
}

TEST_F(ConfigurationFileTest, AFileThatDoesNotSuitTheEditorChangesNothingAndSaysWhy) {
    TF_Decoder* sensors = Open(Editor_Por_Referencia(6758));
    FillNew(sensors);
    const QString good = Path("good.json");
    ASSERT_TRUE(sensors->Guarda_Fichero_Configuracion(good));
    const QByteArray bytes = ReadAll(good);
    ClearNew(sensors);
    Edit(sensors, 9)->setText("321");

    const struct {
        const char* what;
        std::function<QString()> file;
        QString reason;
    } cases[] = {
        {"truncated",
         [&] {
             WriteAll(Path("cut.json"), bytes.left(bytes.size() / 2));
             return Path("cut.json");
         },
         "the file ends too early (it is truncated)"},
        {"damaged",
         [&] {
             QByteArray b = bytes;
             b.replace("\"model\": 6758", "\"model\": 67#8");
             WriteAll(Path("damaged.json"), b);
             return Path("damaged.json");
         },
         "the file is damaged (unreadable from byte "},
        {"foreign",
         [&] {
             WriteAll(Path("other.json"), R"({"name": "a photo album", "pages": 12})");
             return Path("other.json");
         },
         "it is not a decoder configuration file"},
        {"nested too deeply",
         [&] {
             WriteAll(Path("deep.json"), "{\"new\": " + QByteArray(200000, '[') + '}');
             return Path("deep.json");
         },
         "the file is damaged (nested too deeply at byte "},
        {"a second New column",
         [&] {
             QByteArray b = bytes;
             b.replace("\"current\":", "\"new\": [], \"current\":");
             WriteAll(Path("two.json"), b);
             return Path("two.json");
         },
         "the file is damaged (its entry 'new' is missing, repeated or wrong)"},
        {"a code too long",
         [&] {
             return Edited(sensors, "long.json",
                           [](QJsonObject& o) { SetNew(o, "Edit1", "1234"); });
         },
         "Output 1, Value: the value '1234' does not fit this field"},
        {"a letter in a time",
         [&] {
             return Edited(sensors, "letter.json",
                           [](QJsonObject& o) { SetNew(o, "Edit25", "1x"); });
         },
         "Output 1, Time: the value '1x' does not fit this field"},
        {"a unit the list lacks",
         [&] {
             return Edited(sensors, "unit.json",
                           [](QJsonObject& o) { SetNew(o, "ComboBoxEx9", 2); });
         },
         "Output 1, In: the value '2' does not fit this field"},
        {"a unit as text",
         [&] {
             return Edited(sensors, "text.json",
                           [](QJsonObject& o) { SetNew(o, "ComboBoxEx9", "Minutes"); });
         },
         "Output 1, In: the value 'Minutes' does not fit this field"},
        {"a value missing",
         [&] {
             return Edited(sensors, "missing.json", [](QJsonObject& o) {
                 QJsonArray values = o["new"].toArray();
                 values.removeAt(3);
                 o["new"] = values;
             });
         },
         "Output 2, Value has no value in the file"},
        {"a field of another layout",
         [&] {
             return Edited(sensors, "unknown.json", [](QJsonObject& o) {
                 QJsonArray values = o["new"].toArray();
                 values.append(QJsonObject{{"field", "C2"}, {"value", true}});
                 o["new"] = values;
             });
         },
         "it holds a value this model does not have (C2)"},
        {"a field twice",
         [&] {
             return Edited(sensors, "twice.json", [](QJsonObject& o) {
                 QJsonArray values = o["new"].toArray();
                 values.append(values[0]);
                 o["new"] = values;
             });
         },
         "the file is damaged (its entry 'Edit1' is missing, repeated or wrong)"},
        {"no file", [&] { return Path("none.json"); }, " cannot be read: "},
    };
    const QStringList before = Both(sensors);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString file = c.file();
        EXPECT_FALSE(sensors->Carga_Fichero_Configuracion(file));
        EXPECT_EQ(Both(sensors), before);
        EXPECT_EQ(DialogNames().back(), "Aviso_Configuracion");
        EXPECT_TRUE(LastMessage().contains(c.reason)) << LastMessage().toStdString();
    }
}

TEST_F(ConfigurationFileTest, AFileThatCannotBeWrittenIsReportedAndTheOldOneKept) {
    TF_Decoder* hall = Open(Editor_Por_Referencia(6745));
    const QString gone = Path("gone/hall.json");
    EXPECT_FALSE(hall->Guarda_Fichero_Configuracion(gone));
    EXPECT_EQ(DialogNames().back(), "Aviso_Configuracion");
    EXPECT_TRUE(
        LastMessage().startsWith("The configuration could not be written to " + gone + ": "));
    // A folder where the file should be: nothing is written over it.
    QDir(dir.path()).mkdir("taken.json");
    EXPECT_FALSE(hall->Guarda_Fichero_Configuracion(Path("taken.json")));
    EXPECT_TRUE(QFileInfo(Path("taken.json")).isDir());
}

TEST_F(ConfigurationFileTest, TheButtonsAskWhereStartingInTheInstallationsFolder) {
    RecordSpy record;
    record.carpeta = dir.path();
    Instala_Registro(&record);
    TF_Decoder* hall = Open(Editor_Por_Referencia(6745));
    QStringList started;
    QString choose = Path("chosen.json");
    inspect = [&](QWidget* w) {
        if (auto* d = qobject_cast<QFileDialog*>(w)) {
            started << d->directory().absolutePath();
            d->selectFile(choose);
            static_cast<QDialog*>(d)->accept();
        }
    };
    Edit(hall, 1)->setText("4321");
    QTest::mouseClick(Button(hall, "B_Guarda_Config"), Qt::LeftButton);
    ASSERT_TRUE(QFileInfo::exists(choose));
    Edit(hall, 1)->clear();
    QTest::mouseClick(Button(hall, "B_Carga_Config"), Qt::LeftButton);
    EXPECT_EQ(Edit(hall, 1)->text(), "4321");

    // With no installation open the dialog starts in the data folder.
    Instala_Registro(nullptr);
    choose = Path("second.json");
    QTest::mouseClick(Button(hall, "B_Guarda_Config"), Qt::LeftButton);
    EXPECT_EQ(started, (QStringList{dir.path(), dir.path(),
                                    QDir(qEnvironmentVariable("KALVEX_DATA_DIR")).absolutePath()}));
}

TEST_F(ConfigurationFileTest, BeforeAReadOutEveryNewValueIsMarkedAndCounted) {
    TF_Decoder* hall = Go(6745);
    EXPECT_EQ(MarkedNames(hall), (QStringList{"Edit1", "Edit2", "Edit3", "Edit4"}));
    EXPECT_EQ(Edit(hall, 1)->toolTip(), "Will change: (not read) \u2192 (empty)");
    EXPECT_EQ(Button(hall, "B_Save")->toolTip(), "Values that will change: 4");
    // There are no current values to go back to.
    EXPECT_FALSE(Button(hall, "B_Actuales")->isEnabled());
}

TEST_F(ConfigurationFileTest, TypingMarksTheFieldItChangesAndTypingTheCurrentValueUnmarksIt) {
    TF_Decoder* hall = Ready(Go(6745), "hall");
    EXPECT_EQ(MarkedNames(hall), QStringList());
    EXPECT_EQ(Button(hall, "B_Save")->toolTip(), "Values that will change: 0");
    EXPECT_TRUE(Button(hall, "B_Actuales")->isEnabled());
    const QPalette plain = Edit(hall, 2)->palette();
    const QFont plainFont = Edit(hall, 2)->font();

    Edit(hall, 2)->setFocus();
    Edit(hall, 2)->selectAll();
    QTest::keyClicks(Edit(hall, 2), "1199");
    EXPECT_EQ(MarkedNames(hall), QStringList{"Edit2"});
    EXPECT_EQ(Edit(hall, 2)->palette().color(QPalette::Base), TMarcas_Cambio::Tinte);
    EXPECT_EQ(Edit(hall, 2)->toolTip(), "Will change: 1112 \u2192 1199");
    EXPECT_EQ(Button(hall, "B_Save")->toolTip(), "Values that will change: 1");

    QTest::keyClick(Edit(hall, 2), Qt::Key_Backspace);
    QTest::keyClick(Edit(hall, 2), Qt::Key_Backspace);
    QTest::keyClicks(Edit(hall, 2), "12");
    EXPECT_EQ(MarkedNames(hall), QStringList());
    // Exactly as it was: no tint, no bold, no tool-tip.
    EXPECT_EQ(Edit(hall, 2)->palette(), plain);
    EXPECT_EQ(Edit(hall, 2)->font(), plainFont);
    EXPECT_EQ(Edit(hall, 2)->toolTip(), QString());
}

TEST_F(ConfigurationFileTest, FillClearLoadBackAndAReadOutUpdateTheMarks) {
    TF_Decoder* hall = Ready(Go(6745), "hall"); // 1111 1112 - 1114
    QTest::mouseClick(Button(hall, "BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(MarkedNames(hall), QStringList{"Edit3"});
    EXPECT_EQ(Edit(hall, 3)->toolTip(), "Will change: (empty) \u2192 1113");
    ASSERT_TRUE(hall->Guarda_Fichero_Configuracion(Path("filled.json")));

    QTest::mouseClick(Button(hall, "BitBtn3"), Qt::LeftButton);
    EXPECT_EQ(MarkedNames(hall), (QStringList{"Edit1", "Edit2", "Edit4"}));
    EXPECT_EQ(Button(hall, "B_Save")->toolTip(), "Values that will change: 3");

    ASSERT_TRUE(hall->Carga_Fichero_Configuracion(Path("filled.json")));
    EXPECT_EQ(MarkedNames(hall), QStringList{"Edit3"});

    QTest::mouseClick(Button(hall, "B_Actuales"), Qt::LeftButton);
    EXPECT_EQ(MarkedNames(hall), QStringList());
    EXPECT_EQ(Texts(hall, 1, 4), Texts(hall, 5, 8));

    Edit(hall, 4)->setText("9999");
    ReadOut("hall");
    EXPECT_EQ(MarkedNames(hall), QStringList());
}

TEST_F(ConfigurationFileTest, CheckBoxesAndListsAreMarkedWithTheirTexts) {
    TF_Decoder* torvik = Ready(Go(6734), "torvik");
    auto* entrance = torvik->findChild<QCheckBox*>("C1");
    entrance->setChecked(true);
    EXPECT_EQ(MarkedNames(torvik), QStringList{"C1"});
    EXPECT_EQ(entrance->toolTip(), "Will change: No \u2192 Yes");
    Close(torvik);

    TF_Decoder* sensors = Ready(Go(6758), "sensors", 32);
    auto* unit = sensors->findChild<QComboBox*>("ComboBoxEx1"); // output 1: 5 minutes
    unit->setCurrentIndex(0);
    EXPECT_EQ(MarkedNames(sensors), QStringList{"ComboBoxEx1"});
    EXPECT_EQ(unit->toolTip(), "Will change: Minutes \u2192 Seconds");
}

} // namespace
