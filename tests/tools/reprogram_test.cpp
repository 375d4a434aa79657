#include "Enrutado.h"
#include "tools_fixture.h"

#include "Abre_Editor.h"
#include "Modelos.h"
#include "Registro.h"
#include "UF_Decoder.h"

#include <QLabel>

namespace kalvex::test {
namespace {

class ReprogramTest : public ToolsTest {
protected:
    void Open(const std::string& installation) {
        Start(installation);
        window = Ventanas().F_Reprogram;
        window->show();
    }
    void Find(const QString& number, const char* type = "R1") {
        Click(window, type);
        Child<QLineEdit>(window, "Edit1")->clear();
        Type(window, "Edit1", number);
        sim->ClearLog();
        Click(window, "B_Find");
    }
    static TF_Decoder* Editor(int referencia) { return Editor_Por_Referencia(referencia); }
    // The editor is open, receives the frames and its decoder was asked, twice, to send.
    void ExpectOpened(int referencia, const std::string& request) {
        TF_Decoder* editor = Editor(referencia);
        EXPECT_TRUE(editor->isVisible()) << referencia;
        EXPECT_EQ(Enrutado().Modelo_Activo, Modelo_Por_Referencia(referencia)->Codigo)
            << referencia;
        ASSERT_TRUE(WaitSent(3));
        EXPECT_EQ(SentCount(request), 2u) << referencia;
        ASSERT_TRUE(WaitReadOut()); // before the next query, which would take a read-out frame
        // Its closing frame, written twice, reaches the simulator's log a moment later: wait
        // for it, so it does not land in the next case's log.
        const size_t before = Sent().size();
        editor->close();
        EXPECT_TRUE(WaitSent(before + 2));
    }
    bool NotFoundShown() {
        return Child<QLabel>(window, "Label3")->isVisible() &&
               Child<QLabel>(window, "I_NOT_FOUND")->isVisible();
    }
    QString Number() { return Child<QLineEdit>(window, "Edit1")->text(); }

    TF_Reprogram* window = nullptr;
};

TEST_F(ReprogramTest, TheAnsweringDecoderIsOpenedAndItsReadOutFillsTheEditor) {
    Open("[tower]\nmodel = 6746\nserves = 0025\ncodes = 0301 0302 0303 0304 0305 0306 0307 0308\n");
    TF_Decoder* editor = Editor(6746);
    LeaveReadOutAt(5);
    Find("25");
    EXPECT_EQ(Number(), "0025");
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(Enrutado().Modelo_Activo, 3);
    ASSERT_TRUE(WaitSent(3));
    const auto sent = Sent();
    EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + 3),
              (std::vector<std::string>{"70 01 25 00", "50 10 25 00", "50 10 25 00"}));
    // From its first value, though Salida_Actual was elsewhere before.
    ASSERT_TRUE(WaitReadOut());
    auto field = [&](int n) {
        return editor->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n))->text();
    };
    EXPECT_EQ(field(1), "0301");
    EXPECT_EQ(field(8), "0308");
    EXPECT_EQ(field(16), "0308");
    EXPECT_TRUE(Child<QPushButton>(window, "B_Find")->isEnabled());
    EXPECT_FALSE(NotFoundShown());
}

TEST_F(ReprogramTest, EachTypeQueriesItsCodeAndEachAnswerOpensItsModel) {
    Open("[relays]\nmodel = 6759\nserves = B007\n[sensors]\nmodel = 6758\nserves = A007\n"
         "[panels]\nmodel = 6763\nserves = D007\n[wires4]\nmodel = 6721\nserves = 0041\n"
         "[wires8]\nmodel = 6722\nserves = 0042\n[seltra]\nmodel = 6747\nserves = 0043\n"
         "[converter]\nmodel = 6786\nserves = 0044\n");
    const struct {
        const char* type;
        const char* typed;
        std::string query, request;
        int model;
    } cases[] = {
        {"R4", "7", "70 01 07 B0", "50 10 07 B0", 6759},
        {"R3", "7", "70 01 07 A0", "50 10 07 A0", 6758},
        {"R2", "07", "70 01 07 D0", "50 10 07 D0", 6763},
        {"R1", "41", "70 01 41 00", "50 10 41 00", 6721},
        {"R1", "42", "70 01 42 00", "50 10 42 00", 6722},
        {"R1", "43", "70 01 43 00", "50 10 43 00", 6747},
        {"R1", "44", "70 01 44 00", "50 10 44 00", 6786},
    };
    for (const auto& c : cases) {
        Find(c.typed, c.type);
        EXPECT_EQ(Number(), QString(c.type) == "R1" ? "00" + QString(c.typed) : "007");
        ASSERT_FALSE(Sent().empty());
        EXPECT_EQ(Sent()[0], c.query) << c.type;
        ExpectOpened(c.model, c.request);
    }
}

TEST_F(ReprogramTest, TheSharedByteOpensTheChosenModelAndTheChoiceIsKept) {
    Open("[hall]\nmodel = 6745\nserves = 0031\ncodes = 0031 - - -\n");
    const struct {
        const char* choice; // null: the close box
        int model;
    } cases[] = {{nullptr, 0}, {"R2", 6713}, {"R3", 6734}, {nullptr, 0}, {"R1", 6745}};
    QString last = "R1";
    for (const auto& c : cases) {
        QString shown;
        inspect = [&](QWidget* w) {
            if (w->objectName() != "F_Reprogram_Coinc")
                return;
            for (const char* r : {"R1", "R2", "R3"})
                if (Child<QRadioButton>(w, r)->isChecked())
                    shown = r;
            if (c.choice) {
                Child<QRadioButton>(w, c.choice)->setChecked(true);
                QTest::keyClick(Child<QRadioButton>(w, c.choice), Qt::Key_Return);
            }
        };
        Enrutado().Modelo_Activo = 0;
        Find("31");
        EXPECT_EQ(shown, last) << "the last choice is kept";
        if (c.choice) {
            last = c.choice;
            ExpectOpened(c.model, "50 10 31 00");
        } else {
            EXPECT_EQ(Ventanas().F_Reprogram_Coinc->Tag, 0);
            EXPECT_TRUE(Quiet());
            EXPECT_EQ(Sent(), std::vector<std::string>{"70 01 31 00"});
            EXPECT_EQ(Enrutado().Modelo_Activo, 0);
        }
    }
}

TEST_F(ReprogramTest, TheChoiceSelectsTheModelTheInstallationRecordKnowsForTheCode) {
    Open("[hall]\nmodel = 6745\nserves = 0031\ncodes = 0031 - - -\n"
         "[flat]\nmodel = 6713\nserves = 0112\ncodes = 0112 - - -\n"
         "[gate]\nmodel = 6734\nserves = 0250\nstart = 0200\nend = 0299\n"
         "[lobby]\nmodel = 6745\nserves = 0040\ncodes = 0040 - - -\n");
    // A read-out of each row's decoder puts it in the record (the hall's never is).
    const auto record = [&](int referencia, const std::string& decoder, qint64 code) {
        TF_Decoder* editor = Abre_Editor(*Modelo_Por_Referencia(referencia));
        ReadOut(decoder);
        const TModelo* modelo = Modelo_Por_Referencia(referencia);
        EXPECT_TRUE(WaitUntil([&] {
            return Registro()
                .Modelos_Codigo({modelo->Espacio, code, code, {}, {}})
                .contains(referencia);
        })) << referencia;
        const size_t before = Sent().size();
        editor->close();
        EXPECT_TRUE(WaitSent(before + 2));
    };
    const struct {
        const char* number;
        const char* shown;  // the radio button selected as the window opens
        const char* line;   // the record's line; null: none shown
        const char* choice; // what the installer accepts
        int model;
        const char* request;
    } cases[] = {
        // Nothing recorded: as before, the 6745 first.
        {"31", "R1", nullptr, "R1", 6745, "50 10 31 00"},
        {"112", "R2", "The installation record knows code 0112 as a 6713.", "R2", 6713,
         "50 10 12 01"},
        // A Torvik's range holds the code.
        {"250", "R3", "The installation record knows code 0250 as a 6734.", "R3", 6734,
         "50 10 50 02"},
        // Nothing recorded: the last choice stays, as before.
        {"40", "R3", nullptr, "R1", 6745, "50 10 40 00"},
        // The first row's read-out recorded the hall.
        {"31", "R1", "The installation record knows code 0031 as a 6745.", "R1", 6745,
         "50 10 31 00"},
    };
    bool recorded = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        if (!recorded && std::string(c.number) != "31") {
            record(6713, "flat", 0x112);
            record(6734, "gate", 0x250);
            recorded = true;
        }
        QString shown;
        QString line;
        inspect = [&](QWidget* w) {
            if (w->objectName() != "F_Reprogram_Coinc")
                return;
            for (const char* r : {"R1", "R2", "R3"})
                if (Child<QRadioButton>(w, r)->isChecked())
                    shown = r;
            auto* label = Child<QLabel>(w, "Label_Registro");
            line = label->isVisible() ? label->text() : QString();
            Child<QRadioButton>(w, c.choice)->setChecked(true);
            QTest::keyClick(Child<QRadioButton>(w, c.choice), Qt::Key_Return);
        };
        Enrutado().Modelo_Activo = 0;
        Find(c.number);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(line, c.line ? QString::fromUtf8(c.line) : QString());
        ExpectOpened(c.model, c.request);
    }
}

TEST_F(ReprogramTest, AnUnansweredCodeShowsTheNotFoundPictureUntilTheNextSearch) {
    Open("[hall]\nmodel = 6746\nserves = 0025\n");
    Enrutado().Modelo_Activo = 0;
    Find("26");
    EXPECT_TRUE(NotFoundShown());
    EXPECT_EQ(Child<QLabel>(window, "Label3")->text(), QString::fromUtf8("\u00BF?"));
    EXPECT_EQ(Sent(), (std::vector<std::string>{"70 01 26 00", "70 01 26 00", "70 01 26 00"}));
    EXPECT_EQ(Enrutado().Modelo_Activo, 0);
    window->close();
    window->show();
    EXPECT_FALSE(NotFoundShown());
    Find("26");
    Find("25");
    EXPECT_FALSE(NotFoundShown());
}

TEST_F(ReprogramTest, TheKeyboardAndTheTypeShapeTheNumber) {
    Open("[hall]\nmodel = 6746\nserves = 0025\n");
    Click(window, "B_Find"); // empty number: nothing
    EXPECT_TRUE(Quiet());
    EXPECT_TRUE(Child<QPushButton>(window, "B_Find")->isEnabled());
    Type(window, "Edit1", "2x5");
    QTest::keyClick(Child<QLineEdit>(window, "Edit1"), Qt::Key_Return);
    ExpectOpened(6746, "50 10 25 00");
    EXPECT_EQ(SentCount("70 01 25 00"), 1u) << "Return ran Find once";

    Child<QLineEdit>(window, "Edit1")->setText("1234");
    Click(window, "R2");
    EXPECT_EQ(Number(), "234");
    Type(window, "Edit1", "5");
    EXPECT_EQ(Number(), "234");
    window->close();
    window->show(); // type and number stay between showings
    EXPECT_TRUE(Child<QRadioButton>(window, "R2")->isChecked());
    EXPECT_EQ(Number(), "234");
}

TEST_F(ReprogramTest, ABlankInsideTheNumberSendsNothingAndFindComesBack) {
    Open("[hall]\nmodel = 6746\nserves = 0102\n");
    Find("1 2");
    ASSERT_TRUE(WaitUntil([&] { return !dialogs->Dialogs().empty(); }));
    EXPECT_EQ(dialogs->Dialogs()[0].text, "'01 2' is not a valid integer value");
    EXPECT_TRUE(Quiet());
    EXPECT_TRUE(Child<QPushButton>(window, "B_Find")->isEnabled());
}

} // namespace
} // namespace kalvex::test
