// The digitizer editor against the simulated digitizer: the announcement pair and the poll it
// starts, Save with the device moving to its new address, the refusals that send nothing,
// the key filters, the help window and the closing frame.

#include "editor_fixture.h"

#include "F_Mensa.h"
#include "Marcas_Cambio.h"
#include "UF_Decoder_6775.h"

#include <QMessageBox>
#include <QTimer>

using namespace kalvex::test;
using kalvex::sim::Fault;
using kalvex::sim::FaultKind;

namespace {

const char* Installation = R"(
[digitizer]
model = 6775
panel = 3
block = 12
opening = 4
minimum = 2
)";

class DigitizerTest : public EditorTest {
protected:
    void SetUp() override {
        Start(Installation);
        editor = static_cast<TF_Decoder_6775*>(Editor_Por_Referencia(6775));
        ASSERT_EQ(Go(6775), editor);
    }

    // Answers the question a new panel or block asks with "Save and move"; false for any other
    // dialog.
    static bool Move(QWidget* w) {
        if (w->objectName() != "Confirma_Direccion")
            return false;
        w->findChild<QPushButton*>("B_Mover")->click();
        return true;
    }

    QComboBox* Combo(const char* name) const { return editor->findChild<QComboBox*>(name); }
    QTimer* Timer1() const { return editor->findChild<QTimer*>("Timer1"); }
    // Both columns, in field order: Edit1 … Edit6, then C1 and C2.
    QStringList Shown() const {
        return Texts(editor, 1, 6) << Combo("C1")->currentText() << Combo("C2")->currentText();
    }
    // An announcement pair from the device and the two reads that follow it.
    void Announce() {
        sim->ClearLog();
        sim->AnnounceDigitizer();
        ASSERT_TRUE(WaitUntil([&] { return Sent().size() >= 2 && !Timer1()->isActive(); }));
        ASSERT_TRUE(WaitUntil([&] { return !Combo("C2")->currentText().isEmpty(); }));
    }
    void SetNew(const QString& panel, const QString& block, const QString& opening,
                const QString& minimum) {
        Edit(editor, 4)->setText(panel);
        Edit(editor, 5)->setText(block);
        Edit(editor, 6)->setText(opening);
        Combo("C2")->setEditText(minimum);
    }

    TF_Decoder_6775* editor = nullptr;
};

TEST_F(DigitizerTest, TheSecondAnnouncementFillsBothColumnsFromTheFrameAndTwoReads) {
    Announce();
    EXPECT_EQ(Shown(), QStringList({"3", "12", "4", "3", "12", "4", "2", "2"}));
    // Announcements are not acknowledged; the reads carry the panel and the block.
    EXPECT_EQ(Sent(), (std::vector<std::string>{"63 23 FF 12", "63 24 FF 12"}));
}

TEST_F(DigitizerTest, OnlyEveryOtherAnnouncementFrameStartsThePoll) {
    Announce();
    SetNew("x", "x", "x", "x");
    for (const Trama_Dec other :
         {Trama_Dec(0x00, 0, 0x34, 0x12), Trama_Dec(0x40, 0x44, 0, 0),
          Trama_Dec(0x63, 0x23, 0xFF, 0x12), Trama_Dec(0xC0, 0x01, 0xFF, 0x9F)})
        editor->Lee_Decoder(other);
    editor->Lee_Decoder(Trama_Dec(0x57, 0xFF, 0xFF, 0x45));
    EXPECT_EQ(Texts(editor, 4, 6), QStringList({"x", "x", "x"}));
    EXPECT_FALSE(Timer1()->isActive());
    EXPECT_EQ(Enrutado().Lectura.Salida_Actual(), 1);

    editor->Lee_Decoder(Trama_Dec(0x53, 0xFF, 0xFF, 0x12));
    EXPECT_EQ(Shown(), QStringList(8, QString()));
    EXPECT_EQ(Enrutado().Lectura.Salida_Actual(), 0);
    ASSERT_TRUE(WaitUntil([&] { return Edit(editor, 6)->text() == "4"; }));
}

TEST_F(DigitizerTest, AFailedReadShowsZero) {
    sim->SetFault({FaultKind::Silent, 0, 0x23, 3});
    sim->SetFault({FaultKind::WrongStatus, 0, 0x24, 1});
    Announce();
    ASSERT_TRUE(WaitUntil([&] { return Combo("C1")->currentText() == "0"; }));
    EXPECT_EQ(Shown(), QStringList({"3", "12", "0", "3", "12", "0", "0", "0"}));
}

TEST_F(DigitizerTest, SaveMovesTheDeviceAndTheEditorFollowsIt) {
    const struct {
        QStringList nuevos; // panel, block, opening time, minimum time
        std::vector<std::string> frames;
        QStringList after;
        uint8_t registers[4]; // 0x21 … 0x24
    } cases[] = {
        {{"5", "7", "", "3"},
         {"D3 21 05 12", "D5 22 07 12", "D5 23 00 07", "D5 24 03 07"},
         {"5", "07", "0"},
         {5, 0x07, 0, 3}},
        {{"5", "45", "9", "1"},
         {"D5 21 05 07", "D5 22 45 07", "D5 23 09 45", "D5 24 01 45"},
         {"5", "45", "9"},
         {5, 0x45, 9, 1}},
        {{"", "", "0", "2"},
         {"D5 21 00 45", "D0 22 00 45", "D0 23 00 00", "D0 24 02 00"},
         {"0", "00", "0"},
         {0, 0x00, 0, 2}},
    };
    // While the result is shown, only Save is disabled: this window keeps the normal cursor.
    int results = 0;
    inspect = [&](QWidget* w) {
        if (Move(w))
            return;
        ++results;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_FALSE(Button(editor, "B_Save")->isEnabled());
    };
    Announce();
    for (const auto& c : cases) {
        SetNew(c.nuevos[0], c.nuevos[1], c.nuevos[2], c.nuevos[3]);
        sim->ClearLog();
        Save(editor);
        ASSERT_TRUE(WaitDialog("F_Mensa05")) << c.frames[0];
        EXPECT_EQ(Sent(), c.frames);
        EXPECT_EQ(Texts(editor, 4, 6), c.after);
        for (int r = 0; r < 4; ++r)
            EXPECT_EQ(sim->Register(0, static_cast<uint8_t>(0x21 + r)), c.registers[r])
                << c.frames[r];
    }
    EXPECT_FALSE(DialogNames().contains("F_Mensa01"));
    EXPECT_EQ(results, 3);
    EXPECT_TRUE(Button(editor, "B_Save")->isEnabled());
    // The Current column keeps the first poll until the device announces itself again, now
    // from its new address.
    EXPECT_EQ(Texts(editor, 1, 3), QStringList({"3", "12", "4"}));
    Announce();
    EXPECT_EQ(Sent(), (std::vector<std::string>{"60 23 FF 00", "60 24 FF 00"}));
    EXPECT_EQ(Shown(), QStringList({"0", "00", "0", "0", "00", "0", "2", "2"}));
}

TEST_F(DigitizerTest, TheAddressWriteCountsOnlyWithTheNewPanelsStatus) {
    Announce();
    SetNew("5", "12", "4", "2");
    inspect = [](QWidget* w) { Move(w); };
    // The device takes the write, yet answers with a status of no panel.
    sim->SetFault({FaultKind::WrongStatus, 0, 0x21, 1});
    sim->ClearLog();
    Save(editor);
    ASSERT_TRUE(WaitDialog("F_Mensa01"));
    EXPECT_EQ(Sent(), (std::vector<std::string>{"D3 21 05 12", "D5 22 12 12", "D5 23 04 12",
                                                "D5 24 02 12"}));
    EXPECT_TRUE(Button(editor, "B_Save")->isEnabled());
}

// The writes after the one that failed go on, and only the row that failed is named and
// marked; the progress line words each row as the grid does.
TEST_F(DigitizerTest, AnOpeningTimeNotAcknowledgedIsNamedAndMarked) {
    Announce();
    sim->SetFault({FaultKind::Silent, 0, 0x23});
    QString detail;
    inspect = [&](QWidget* w) {
        if (auto* fallo = qobject_cast<TF_Mensa01*>(w))
            detail = fallo->Detalle->text();
    };
    QStringList seen;
    QObject context;
    QObject::connect(
        main->Decod1, &TDECODER2::Intento_Empezado, &context,
        [&] { seen << editor->findChild<QLabel*>("Estado_Editor")->text(); }, Qt::QueuedConnection);
    Save(editor);
    EXPECT_EQ(seen, QStringList({"Writing 1 of 4: Panel…", "Writing 2 of 4: Block…",
                                 "Writing 3 of 4: Opening Time…",
                                 "Writing 3 of 4: Opening Time…  No answer — attempt 2 of 3",
                                 "Writing 3 of 4: Opening Time…  No answer — attempt 3 of 3",
                                 "Writing 4 of 4: Minimum Time…"}));
    ASSERT_TRUE(WaitDialog("F_Mensa01"));
    EXPECT_EQ(detail, "Not acknowledged: Opening Time");
    for (const char* name : {"Edit4", "Edit5", "Edit6", "C2"})
        EXPECT_EQ(editor->findChild<QWidget*>(name)->palette().color(QPalette::Base) ==
                      TMarcas_Cambio::Tinte_Sin_Acuse,
                  QString(name) == "Edit6")
            << name;
}

TEST_F(DigitizerTest, ANewAddressIsAskedForFirstAndCancelSendsNothing) {
    Announce();
    QString asked;
    inspect = [&](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w);
            box && w->objectName() == "Confirma_Direccion")
            asked = box->text();
    };
    SetNew("5", "07", "4", "2");
    sim->ClearLog();
    Save(editor);
    EXPECT_EQ(asked, "Saving moves the digitizer from panel 3, block 12 to panel 5, block 07. It "
                     "will answer only at its new address.");
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(sim->Register(0, 0x21), 3);
    EXPECT_EQ(Texts(editor, 4, 6), QStringList({"5", "07", "4"}));
    ExpectRestored(editor);

    // The same address: the times are saved without a question.
    asked.clear();
    SetNew("3", "12", "9", "2");
    Save(editor);
    ASSERT_TRUE(WaitDialog("F_Mensa05"));
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(sim->Register(0, 0x23), 9);
}

TEST_F(DigitizerTest, AValueThatCannotBeWrittenStopsSaveBeforeTheFirstFrame) {
    const struct {
        QStringList nuevos;
        const char* message;
        const char* field;
    } cases[] = {
        // no poll has filled the list
        {{"5", "7", "3", ""}, "Minimum Time: choose a value", "C2"},
        // a blank inside the block
        {{"5", "1 ", "3", "2"}, "Block: '1 ' is not a number \u2014 type digits only", "Edit5"},
        {{"5", "7", " ", "2"},
         "Opening Time: ' ' is not a number \u2014 type digits only",
         "Edit6"},
        // beyond the command's nibble
        {{"16", "7", "3", "2"},
         "Panel: 16 is more than 15, the largest value this device stores",
         "Edit4"},
        {{"5", "7", "300", "2"},
         "Opening Time: 300 is more than 255, the largest value this device stores",
         "Edit6"},
    };
    for (const auto& c : cases) {
        SetNew(c.nuevos[0], c.nuevos[1], c.nuevos[2], c.nuevos[3]);
        sim->ClearLog();
        const size_t before = dialogs->Dialogs().size();
        Save(editor);
        ASSERT_EQ(dialogs->Dialogs().size(), before + 1) << c.message;
        EXPECT_EQ(dialogs->Dialogs().back().text, QString::fromUtf8(c.message));
        EXPECT_EQ(editor->focusWidget()->objectName(), c.field);
        EXPECT_TRUE(Sent().empty()) << c.message;
        ExpectRestored(editor);
        EXPECT_EQ(Edit(editor, 5)->text(), c.nuevos[1]) << "refused before any field is rewritten";
    }
    EXPECT_EQ(sim->Register(0, 0x21), 3);
}

TEST_F(DigitizerTest, KeysTypeDigitsUpToTheWidthAndTheMinimumTimeIsOnlyPicked) {
    const struct {
        int field;
        QString before;
        const char* keys;
        QString shown;
    } cases[] = {
        {4, "", "a5", "5"},     {4, "", "56", "5"}, {4, "", " ", " "},
        {4, "12", "3", "12"}, // a longer panel read from the device stays whole
        {5, "", "x1-23", "12"}, {6, "", "+9", "9"},
    };
    for (const auto& c : cases) {
        Edit(editor, c.field)->setText(c.before);
        QTest::keyClicks(Edit(editor, c.field), c.keys);
        EXPECT_EQ(Edit(editor, c.field)->text(), c.shown) << c.field << " " << c.keys;
    }
    QComboBox* c2 = Combo("C2");
    c2->setCurrentIndex(1);
    QTest::keyClicks(c2, "9x");
    QTest::keyClick(c2, Qt::Key_Backspace);
    QTest::keyClick(c2, Qt::Key_Return);
    EXPECT_EQ(c2->currentText(), "2");
    EXPECT_EQ(c2->count(), 3);
    QTest::keyClick(c2, Qt::Key_Down);
    EXPECT_EQ(c2->currentText(), "3");
}

TEST_F(DigitizerTest, TheWindowShowsItsTextsPictureAndTabOrder) {
    const struct {
        const char* label;
        const char* text;
        bool enabled;
    } cases[] = {{"Label17", "Current", true},
                 {"Label3", "New", true},
                 {"Label1", "Panel", false},
                 {"Label6", "Panel", true},
                 {"Label5", "Minimum Time", false},
                 {"Label9", "Minimum Time", true},
                 {"Label28", "*Press programming button", true}};
    for (const auto& c : cases) {
        auto* label = editor->findChild<QLabel*>(c.label);
        ASSERT_NE(label, nullptr) << c.label;
        EXPECT_EQ(label->text(), c.text) << c.label;
        EXPECT_EQ(label->isEnabled(), c.enabled) << c.label;
    }
    EXPECT_FALSE(editor->findChild<QLabel*>("Image2")->pixmap().isNull());
    EXPECT_FALSE(Combo("C1")->isEnabled());
    EXPECT_TRUE(editor->windowTitle().startsWith("Kalvex 3.3 \u2014 6775 - "))
        << editor->windowTitle().toStdString();

    QStringList order;
    for (QWidget* w = Edit(editor, 4)->nextInFocusChain(); order.size() < 9;
         w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && !w->focusProxy() &&
            w->window() == editor)
            order << w->objectName();
    // Back to the current values waits for a read-out.
    EXPECT_EQ(order, QStringList({"Edit5", "Edit6", "C2", "B_Guarda_Config", "B_Carga_Config",
                                  "B_Save", "CB_ReadBack", "B_Close", "Edit4"}));
}

TEST_F(DigitizerTest, TheMinimumTimeLabelOpensTheHelpWindow) {
    QStringList seen;
    inspect = [&](QWidget* w) {
        seen << w->objectName() << w->windowTitle() << w->findChild<QLabel*>("Label14")->text();
        for (int k = 1; k <= 6; ++k)
            seen << w->findChild<QLabel*>(QStringLiteral("Label%1").arg(k))->text();
    };
    QTest::mouseClick(editor->findChild<QLabel*>("Label9"), Qt::LeftButton);
    EXPECT_EQ(seen, QStringList({"F_Decoder_6775_Help", "F_Decoder_6775_Help",
                                 "6775 - Quendal-Marlo Digitizer", "1 --", "2 --", "3 --",
                                 "Short: the shortest minimum time.",
                                 "Medium: a minimum time between choices 1 and 3.",
                                 "Long: the longest minimum time."}));
}

TEST_F(DigitizerTest, ClosingSendsTheClosingFrameAndDropsAPendingPoll) {
    editor->Lee_Decoder(Trama_Dec(0x53, 0xFF, 0xFF, 0x12));
    editor->Lee_Decoder(Trama_Dec(0x53, 0xFF, 0xFF, 0x12));
    ASSERT_TRUE(Timer1()->isActive());
    sim->ClearLog();
    editor->close();
    EXPECT_FALSE(Timer1()->isActive());
    EXPECT_EQ(Enrutado().Modelo_Activo, 0);
    EXPECT_EQ(SentAtLeast(2), (std::vector<std::string>{"C0 01 FF 9F", "C0 01 FF 9F"}));
}

} // namespace
