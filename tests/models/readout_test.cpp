// Read-outs: what the decoder sends on its own, its acknowledgements, the identification
// check and the routing between open editors.

#include "editor_fixture.h"

#include "Enrutado.h"

#include "F_Mensa.h"

#include <QTreeWidget>

using namespace kalvex::test;

namespace {

const char* Installation = R"(
[hall]
model = 6745
serves = 0025
codes = 1234 1235 - 0007

[eight]
model = 6746
codes = 1001 1002 1003 1004 1005 1006 1007 1008

[empty45]
model = 6745

[empty13]
model = 6713

[panel]
model = 6763
codes = D042 DFFF - D999

[converter]
model = 6786
address = 0056

[noaddress]
model = 6786
)";

class ReadOutTest : public EditorTest {
protected:
    void SetUp() override { Start(Installation); }
};

TEST_F(ReadOutTest, GoOpensTheEditorAndEachFrameIsAcknowledgedAndShownInBothColumns) {
    TF_Decoder* editor = Go(6745);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->Label14->text(), "6745 - Audio Decoder 4");
    EXPECT_EQ(Enrutado().Modelo_Activo, 2);
    ReadOut("hall");
    EXPECT_EQ(Sent(), (std::vector<std::string>{"20 00 34 12", "20 00 35 12", "20 00 FF FF",
                                                "20 00 07 00", "20 40 FF FF"}));
    EXPECT_EQ(Texts(editor, 1, 8),
              QStringList({"1234", "1235", "", "0007", "1234", "1235", "", "0007"}));
    EXPECT_EQ(Enrutado().Lectura.Salida_Actual(), 0);
}

TEST_F(ReadOutTest, TheCodeOfEachModelIsTakenFromTheDataWord) {
    TF_Decoder* panel = Go(6763);
    ReadOut("panel");
    EXPECT_EQ(Texts(panel, 1, 8), QStringList({"042", "", "", "999", "042", "", "", "999"}));
    Close(panel);

    TF_Decoder* converter = Go(6786);
    Button(converter, "B_Close")->setFocus();
    ReadOut("converter");
    EXPECT_EQ(Edit(converter, 1)->text(), "0056");
    EXPECT_EQ(Edit(converter, 3)->text(), "0056");
    // A device with an address: the check after the identification moves the focus to the
    // New address instead of reporting an empty device.
    EXPECT_TRUE(WaitUntil([&] { return converter->focusWidget() == Edit(converter, 3); }));
    // Every data frame replaces the value; the counter never moves.
    converter->Lee_Decoder(Trama_Dec(0x00, 0x00, 0x34, 0x12));
    EXPECT_EQ(Edit(converter, 1)->text(), "1234");
    EXPECT_EQ(Enrutado().Lectura.Salida_Actual(), 0);
    EXPECT_FALSE(dialogs->Saw("F_Mensa02"));
}

TEST_F(ReadOutTest, AFrameAfterTheLastValueStartsAgainAtOutputOneWithEmptyColumns) {
    const struct { int referencia, salidas; } cases[] = {{6745, 4}, {6746, 8}, {6763, 4}};
    for (const auto& c : cases) {
        TF_Decoder* editor = Go(c.referencia);
        sim->ClearLog();
        for (int k = 0; k < c.salidas; ++k)
            editor->Lee_Decoder(Trama_Dec(0x00, 0x00, static_cast<uint8_t>(k + 1), 0x10));
        EXPECT_EQ(Edit(editor, c.salidas)->text(), c.salidas == 8         ? "1008"
                                                   : c.referencia == 6763 ? "004"
                                                                          : "1004");
        Edit(editor, 2)->setText("77");
        editor->Lee_Decoder(Trama_Dec(0x00, 0x00, 0xFF, 0x12));
        QStringList expected(2 * c.salidas, QString());
        expected[0] = expected[c.salidas] = c.referencia == 6763 ? "2FF" : "12FF";
        EXPECT_EQ(Texts(editor, 1, 2 * c.salidas), expected) << c.referencia;
        EXPECT_EQ(Enrutado().Lectura.Salida_Actual(), 1);
        // Not a data frame nor an identification: no answer, no change.
        SentAtLeast(static_cast<size_t>(c.salidas + 1)); // the acknowledgements so far
        sim->ClearLog();
        editor->Lee_Decoder(Trama_Dec(0x30, 0x44, 0x01, 0x02));
        EXPECT_EQ(Texts(editor, 1, 2 * c.salidas), expected);
        editor->close();
        EXPECT_EQ(SentAtLeast(2).front(), c.referencia == 6763 ? "50 20 FF DF" : "50 20 FF 9F");
    }
}

TEST_F(ReadOutTest, AForeignDecoderIsNamedAndTheEditorClosesWithItsClosingFrame) {
    QStringList row;
    inspect = [&](QWidget* w) {
        if (auto* m = qobject_cast<TF_Mensa00*>(w))
            row = {m->Lista->topLevelItem(0)->text(0), m->Lista->topLevelItem(0)->text(1)};
    };
    const struct {
        int referencia;
        const char* decoder;
        QStringList row;
        const char* closing;
    } cases[] = {{6745, "eight", {"Ref. 6745", "Ref. 6746"}, "50 20 FF 9F"},
                 {6786, "hall", {"Ref. 6786", "Ref. 6745 / Ref. 6734 / Ref. 6713"}, "50 20 FF FF"}};
    for (const auto& c : cases) {
        TF_Decoder* editor = Go(c.referencia);
        sim->ClearLog();
        sim->PressButton(c.decoder);
        ASSERT_TRUE(WaitUntil([&] { return !editor->isVisible(); }));
        EXPECT_EQ(row, c.row);
        EXPECT_EQ(Enrutado().Modelo_Activo, 0);
        const std::vector<std::string> tail{"20 40 FF FF", c.closing, c.closing};
        EXPECT_TRUE(WaitUntil([&] {
            const auto sent = Sent();
            return sent.size() >= 3 && std::vector<std::string>(sent.end() - 3, sent.end()) == tail;
        })) << c.referencia;
    }
    EXPECT_EQ(DialogNames(), QStringList({"F_Mensa00", "F_Mensa00"}));
}

TEST_F(ReadOutTest, TheSharedIdentificationByteIsAcceptedAndAnEmptyDecoderReported) {
    const struct {
        int referencia;
        const char* decoder;
    } cases[] = {{6713, "empty45"}, {6745, "empty13"}, {6786, "noaddress"}};
    int shown = 0;
    for (const auto& c : cases) {
        TF_Decoder* editor = Go(c.referencia);
        ReadOut(c.decoder);
        ASSERT_TRUE(WaitUntil([&] { return dialogs->Dialogs().size() == size_t(shown + 1); }))
            << c.referencia;
        EXPECT_EQ(dialogs->Dialogs().back().name, "F_Mensa02");
        EXPECT_TRUE(editor->isVisible());
        ++shown;
        Close(editor);
    }
}

TEST_F(ReadOutTest, TheLastGoReceivesAndClosingEitherEditorStopsTheRouting) {
    TF_Decoder* four = Go(6745);
    Edit(four, 1)->setText("42");
    LeaveReadOutAt(3);
    // Go! on the editor already open: the counter starts again, the fields stay.
    ASSERT_EQ(Go(6745), four);
    EXPECT_EQ(Enrutado().Lectura.Salida_Actual(), 0);
    EXPECT_EQ(Edit(four, 1)->text(), "42");

    TF_Decoder* eight = Go(6746);
    EXPECT_TRUE(four->isVisible());
    EXPECT_EQ(Enrutado().Modelo_Activo, 3);
    ReadOut("eight");
    EXPECT_EQ(Edit(eight, 16)->text(), "1008");
    EXPECT_EQ(Edit(four, 1)->text(), "42");

    Close(four);
    EXPECT_EQ(Enrutado().Modelo_Activo, 0);
    EXPECT_TRUE(eight->isVisible());
    sim->ClearLog();
    sim->PressButton("eight");
    // Unanswered, the decoder gives up its read-out.
    ASSERT_TRUE(WaitUntil([&] { return !sim->InProgramming(sim->FindDecoder("eight")); }, 4000));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Edit(eight, 16)->text(), "1008");
}

} // namespace
