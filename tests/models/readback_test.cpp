// Read back after Save: the programming request for the decoder's code after the Save's own
// frames and its result, the read-out that follows taken as what the decoder holds, the
// marks against it, the state line's word on it, and the installation record confirmed; where
// no read-back comes or it is off, the marks and "back" go by the writes acknowledged. And a
// Save with the port not open, refused before anything is attempted.

#include "Base_Instalacion.h"
#include "Configuracion.h"
#include "Fichero_Configuracion.h"
#include "Instalacion_Abierta.h"
#include "Marcas_Cambio.h"
#include "editor_fixture.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QRegularExpression>

#include <optional>

using namespace kalvex::test;
using kalvex::sim::Fault;
using kalvex::sim::FaultKind;

namespace {

// `quiet` answers to no code: it ignores the programming request.
const char* Installation = R"(
[hall]
model = 6745
serves = 1111
codes = 1111 1112 1113 1114

[porch]
model = 6745
serves = 2221
codes = 2221 2222 2223 2224

[quiet]
model = 6745
codes = 3331 3332 3333 3334

[plain]
model = 6745
serves = 4441
codes = 4441 4442 4443 4444

[eight]
model = 6746
serves = 1001
codes = 1001 1002 1003 1004 1005 1006 1007 1008

[panel]
model = 6763
serves = D101
codes = D101 D102 - -

[sensors]
model = 6758
serves = A101
codes = A101 - - - - - - A108
times = 5s - - - - - - 7s

[relays]
model = 6759
serves = B201
codes = B201 - - - - - - B208
times = 10 0 0 0 0 0 0 255
states = on off off off off off off 2

[torvik]
model = 6734
serves = 0100
start = 0100
end = 0150
entrance = no

[converter]
model = 6786
serves = 0001
address = 0001

[digitizer]
model = 6775
panel = 3
block = 12
)";

enum { Hall, Porch, Quiet, Plain };

class ReadBackTest : public EditorTest {
protected:
    void SetUp() override {
        Start(Installation, QStringLiteral("ENGLISH"), /*read_back=*/true);
        inspect = [this](QWidget* w) {
            // What the line held when the result dialog was up.
            if (w->objectName().startsWith("F_Mensa"))
                sent_at_dialog = Sent().size();
        };
    }

    static QLabel* State(QWidget* editor) {
        return editor->findChild<QLabel*>(QStringLiteral("Estado_Editor"));
    }
    static bool Red(QWidget* field) {
        return field->palette().color(QPalette::Base) == TMarcas_Cambio::Tinte_Sin_Acuse;
    }
    static QStringList Marked(QWidget* editor) {
        QStringList out;
        for (int k = 1; k <= 4; ++k)
            if (Edit(editor, k)->font().bold() || Red(Edit(editor, k)))
                out << QStringLiteral("Edit%1").arg(k);
        return out;
    }
    const TDecoder_Registro* Recorded(const QStringList& values) {
        snapshot = main->Instalacion->Base()->Instantanea();
        for (const TDecoder_Registro& d : snapshot.Decoders) {
            QStringList texts;
            for (const TValor_Registro& v : d.Configuracion)
                texts << Redacta(v.Texto);
            if (texts == values)
                return &d;
        }
        return nullptr;
    }

    std::optional<size_t> sent_at_dialog;
    TInstantanea snapshot;
};

TEST_F(ReadBackTest, AfterASaveTheEditorReadsTheDecoderBackOrGoesByWhatItAcknowledged) {
    const struct {
        const char* what;
        const char* decoder;
        int index;
        std::optional<Fault> fault;
        bool read_back;
        QStringList nuevos;
        const char* dialog;
        std::vector<std::string> frames; // the whole line from Save on
        size_t own;                      // of which the Save's own
        QString state;                   // the state line at the end (a pattern)
        QStringList current;             // the Current column at the end
        QStringList marked;              // New fields marked at the end
        QString tip;                     // part of the red field's tool-tip ("": none red)
        bool confirmed;                  // the record holds the decoder as confirmed
    } cases[] = {
        {"acknowledged in full and read back",
         "hall",
         Hall,
         std::nullopt,
         true,
         {"1111", "2112", "2113", "1114"},
         "F_Mensa05",
         {"B0 00 11 11", "B0 02 12 21", "B0 04 13 21", "B0 06 14 11", "50 10 11 11", "50 10 11 11",
          "20 00 11 11", "20 00 12 21", "20 00 13 21", "20 00 14 11", "20 40 FF FF"},
         4,
         "^Saved and read back \\d\\d:\\d\\d:\\d\\d — the decoder holds the new values$",
         {"1111", "2112", "2113", "1114"},
         {},
         "",
         true},
        {"one write unheard, then read back",
         "porch",
         Porch,
         Fault{FaultKind::Deaf, Porch, 0x04, -1},
         true,
         {"2221", "3222", "3223", "2224"},
         "F_Mensa01",
         {"B0 00 21 22", "B0 02 22 32", "B0 04 23 32", "B0 04 23 32", "B0 04 23 32", "B0 06 24 22",
          "50 10 21 22", "50 10 21 22", "20 00 21 22", "20 00 22 32", "20 00 23 22", "20 00 24 22",
          "20 40 FF FF"},
         6,
         "^Saved; the read-back shows 1 value differs$",
         {"2221", "3222", "2223", "2224"},
         {"Edit3"},
         "the decoder holds 2223, Save wrote 3223",
         true},
        // Nobody answers to the code: the request goes out, and nothing comes back.
        {"the programming request ignored",
         "quiet",
         Quiet,
         std::nullopt,
         true,
         {"3331", "4332", "4333", "3334"},
         "F_Mensa05",
         {"B0 00 31 33", "B0 02 32 43", "B0 04 33 43", "B0 06 34 33", "50 10 31 33", "50 10 31 33"},
         4,
         "^Saved; no read-back — press the programming button to confirm$",
         {"3331", "3332", "3333", "3334"},
         {},
         "",
         false},
        // The check box off: the Save's own frames and nothing else.
        {"read-back off",
         "plain",
         Plain,
         std::nullopt,
         false,
         {"4441", "5442", "5443", "4444"},
         "F_Mensa05",
         {"B0 00 41 44", "B0 02 42 54", "B0 04 43 54", "B0 06 44 44"},
         4,
         "^Saved \\d\\d:\\d\\d:\\d\\d — the decoder acknowledged every value$",
         {"4441", "4442", "4443", "4444"},
         {},
         "",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TF_Decoder* editor = Go(6745);
        EXPECT_EQ(State(editor)->text(), "Waiting for the programming button");
        Ready(editor, c.decoder);
        // Once the read-out is recorded, 200 ms after its identification frame.
        const QRegularExpression complete("^Read-out complete \\d\\d:\\d\\d:\\d\\d$");
        EXPECT_TRUE(WaitUntil([&] { return complete.match(State(editor)->text()).hasMatch(); }))
            << State(editor)->text().toStdString();
        const QStringList before = Texts(editor, 5, 8);
        auto* box = editor->findChild<QCheckBox*>(QStringLiteral("CB_ReadBack"));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->accessibleName(), "Read back after Save");
        box->setChecked(c.read_back);
        if (c.fault)
            sim->SetFault(*c.fault);
        Type(editor, c.nuevos);
        sent_at_dialog.reset();
        Save(editor);
        EXPECT_EQ(DialogNames().back(), c.dialog);
        // The read-back comes only after the Save's own frames and its result.
        ASSERT_TRUE(sent_at_dialog.has_value());
        EXPECT_EQ(*sent_at_dialog, c.own);
        const QRegularExpression outcome(c.state);
        EXPECT_TRUE(WaitUntil([&] { return outcome.match(State(editor)->text()).hasMatch(); }))
            << State(editor)->text().toStdString();
        QTest::qWait(300); // nothing more comes
        EXPECT_EQ(Sent(), c.frames) << Trace();
        EXPECT_EQ(Texts(editor, 5, 8), c.current);
        EXPECT_EQ(Texts(editor, 1, 4), c.nuevos); // as the Save wrote them
        EXPECT_EQ(Marked(editor), c.marked);
        for (int k = 1; k <= 4; ++k) {
            QLineEdit* field = Edit(editor, k);
            EXPECT_EQ(Red(field), !c.tip.isEmpty() && c.marked.contains(field->objectName()));
            if (Red(field)) {
                EXPECT_TRUE(field->toolTip().contains(c.tip)) << field->toolTip().toStdString();
            }
        }
        EXPECT_EQ(Button(editor, "B_Save")->toolTip(),
                  QStringLiteral("Values that will change: %1").arg(c.marked.size()));
        // Read back, the record holds what the decoder showed, confirmed; otherwise the
        // read-out with the writes acknowledged, not confirmed.
        const TDecoder_Registro* d = Recorded(c.confirmed ? c.current : c.nuevos);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->Confirmado, c.confirmed);
        if (c.current != c.nuevos && c.tip.isEmpty()) {
            // No read-back: the Current column keeps the last read-out, and "back" puts
            // the acknowledged values, not those, into the New column.
            EXPECT_EQ(c.current, before);
            // A configuration file saved now has the acknowledged values as the current ones.
            const QString file = config.filePath(QStringLiteral("%1.json").arg(c.decoder));
            ASSERT_TRUE(editor->Guarda_Fichero_Configuracion(file));
            QFile saved(file);
            ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
            QStringList current;
            for (const TValor_Fichero& v : Lee_Configuracion(saved.readAll()).Fichero.Actuales)
                current << v.Valor.toString();
            EXPECT_EQ(current, c.nuevos);
            Edit(editor, 2)->setText("9999");
            EXPECT_EQ(Marked(editor), QStringList{"Edit2"});
            QTest::mouseClick(Button(editor, "B_Actuales"), Qt::LeftButton);
            EXPECT_EQ(Texts(editor, 1, 4), c.nuevos);
            EXPECT_TRUE(Marked(editor).isEmpty());
        }
        sim->ClearFaults();
        Close(editor);
    }
    // The choice is kept for the next start.
    EXPECT_FALSE(Lee_Relectura());
}

// Every model that answers to a device code is asked by the code it holds once the Save is
// done: the class letter before the digits where its codes have one, the start of a range.
// The digitizer answers to none and is not read back.
TEST_F(ReadBackTest, EachModelIsAskedForItsReadOutByTheCodeItAnswersTo) {
    const struct {
        int referencia;
        const char* decoder;
        int last;            // the field the read-out's own reads fill last; 0: none
        const char* request; // "": none
        int closing;         // closing frames
    } cases[] = {
        {6746, "eight", 0, "50 10 01 10", 2},    {6763, "panel", 0, "50 10 01 D1", 2},
        {6758, "sensors", 32, "50 10 01 A1", 2}, {6759, "relays", 32, "50 10 01 B2", 2},
        {6734, "torvik", 0, "50 10 00 01", 2},   {6786, "converter", 0, "50 10 01 00", 2},
        {6775, "digitizer", 0, "", 0}, // its closing frame is another
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.decoder);
        TF_Decoder* editor = Go(c.referencia);
        if (c.referencia == 6775) {
            sim->AnnounceDigitizer();
            ASSERT_TRUE(WaitUntil([&] {
                return State(editor)->text().startsWith("Read-out complete");
            })) << State(editor)->text().toStdString();
            sim->ClearLog();
        } else {
            Ready(editor, c.decoder, c.last);
        }
        Save(editor); // the values as read
        const QString outcome =
            *c.request ? QStringLiteral("Saved and read back") : QStringLiteral("Saved ");
        EXPECT_TRUE(WaitUntil([&] { return State(editor)->text().startsWith(outcome); }))
            << State(editor)->text().toStdString();
        QTest::qWait(300);
        const auto sent = Sent();
        const auto requests = std::count_if(sent.begin(), sent.end(), [](const std::string& f) {
            return f.rfind("50 10", 0) == 0;
        });
        EXPECT_EQ(requests, *c.request ? 2 : 0) << Trace();
        if (*c.request) {
            const auto first = std::find(sent.begin(), sent.end(), std::string(c.request));
            ASSERT_NE(first, sent.end()) << Trace();
            // After every frame of the Save, and followed by the read-out's acknowledgements
            // (and the reads of times and settings that complete a read-out of their models).
            EXPECT_TRUE(std::none_of(first, sent.end(), [](const std::string& f) {
                return f.rfind("B0", 0) == 0 || f.rfind("80", 0) == 0;
            })) << Trace();
            EXPECT_NE(std::find(first, sent.end(), "20 40 FF FF"), sent.end()) << Trace();
        }
        Close(editor, c.closing);
    }
}

// Save with the port not open: said with the port and its cause, and nothing is attempted.
TEST_F(ReadBackTest, ASaveWithThePortNotOpenIsRefusedBeforeAnythingIsAttempted) {
    Destruye_Ventanas();
    const QString absent = config.filePath(QStringLiteral("absent"));
    TIniFile(config.filePath(QStringLiteral("KALVEX.INI")))
        .WriteString(QStringLiteral("General"), QStringLiteral("Sys_Port"), absent);
    Crea_Ventanas();
    main = Ventanas().F_Princ;
    ASSERT_FALSE(main->Decod1->Connected());
    QString informative;
    inspect = [&](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && w->objectName() == "Sin_Puerto")
            informative = box->informativeText();
    };
    TF_Decoder* editor = Go(6745);
    ASSERT_NE(editor, nullptr);
    // The state line says what the main window's status line says.
    const QString port = main->findChild<QLabel*>(QStringLiteral("Estado_Puerto"))->text();
    EXPECT_TRUE(port.contains("not open: not found")) << port.toStdString();
    EXPECT_EQ(State(editor)->text(), port);
    Type(editor, {"1111", "1112", "1113", "1114"});
    Save(editor);
    EXPECT_EQ(DialogNames().back(), "Sin_Puerto");
    EXPECT_EQ(LastMessage(), "Nothing was sent: the serial port is not open.");
    EXPECT_EQ(informative, port + "\nChoose a port in File \u25B8 Serial Port.");
    EXPECT_TRUE(Sent().empty());
    // Not even the installation record heard of a Save.
    EXPECT_TRUE(main->Instalacion->Base()->Instantanea().Decoders.isEmpty());
    ExpectRestored(editor);
}

} // namespace
