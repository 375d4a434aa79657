// The Torvik editor: its read-out, the range rule, the three writes and the flag.

#include "editor_fixture.h"

#include "UF_Decoder_6734.h"

#include <QCheckBox>

using namespace kalvex::test;
using kalvex::sim::Fault;
using kalvex::sim::FaultKind;

namespace {

const char* Installation = R"(
[torvik]
model = 6734
start = 0100
end = 0299
entrance = yes

[other]
model = 6734
start = 0999
entrance = 1234

[blank]
model = 6734
)";

enum { Torvik, Other, Blank };

class TorvikTest : public EditorTest {
protected:
    void SetUp() override {
        Start(Installation);
        torvik = static_cast<TF_Decoder_6734*>(Editor_Por_Referencia(6734));
    }

    QCheckBox* Check(const char* name) const { return torvik->findChild<QCheckBox*>(name); }

    TF_Decoder_6734* torvik = nullptr;
};

TEST_F(TorvikTest, TheReadOutShowsTheAddressesAndTheEntranceFlagInBothColumns) {
    const struct {
        const char* decoder;
        QStringList fields; // New start, New end, Current start, Current end
        bool entrance;
    } cases[] = {{"torvik", {"0100", "0299", "0100", "0299"}, true},
                 {"other", {"0999", "", "0999", ""}, false}}; // any word but FFFF is "no"
    for (const auto& c : cases) {
        Open(torvik);
        ReadOut(c.decoder);
        EXPECT_EQ(Texts(torvik, 1, 4), c.fields) << c.decoder;
        EXPECT_EQ(Check("C1")->isChecked(), c.entrance);
        EXPECT_EQ(Check("C2")->isChecked(), c.entrance);
        EXPECT_EQ(Enrutado().Lectura.Salida_Actual(), 0);
        Close(torvik);
    }
}

TEST_F(TorvikTest, ADecoderWithoutAddressesIsReportedEmpty) {
    Open(torvik);
    ReadOut("blank");
    ASSERT_TRUE(WaitDialog("F_Mensa02"));
    EXPECT_FALSE(Check("C1")->isChecked()); // the erased flag word reads as yes, then is cleared
    EXPECT_FALSE(Check("C2")->isChecked());
}

TEST_F(TorvikTest, SaveWritesStartEndAndFlagOnlyForAnAcceptableRange) {
    const struct {
        QString start, end;
        bool entrance;
        std::vector<std::string> frames; // empty: refused with the dialog
        QString dialog;
    } cases[] = {
        {"100", "299", true, {"B0 00 00 01", "B0 02 99 02", "B0 04 FF FF"}, "F_Mensa05"},
        {"0100", "0100", false, {"B0 00 00 01", "B0 02 00 01", "B0 04 00 00"}, "F_Mensa05"},
        {"", "", true, {"B0 00 FF FF", "B0 02 FF FF", "B0 04 FF FF"}, "F_Mensa05"},
        {"100", "300", true, {}, "F_Mensa03"},
        {"0500", "0499", true, {}, "F_Mensa03"},
        {"100", "", true, {}, "F_Mensa03"},
        {"", "5", true, {}, "F_Mensa03"},
    };
    for (const auto& c : cases) {
        Ready(Open(torvik), "torvik");
        Edit(torvik, 1)->setText(c.start);
        Edit(torvik, 2)->setText(c.end);
        Check("C1")->setChecked(c.entrance);
        Save(torvik);
        EXPECT_EQ(Sent(), c.frames) << c.start.toStdString() << "-" << c.end.toStdString();
        EXPECT_EQ(DialogNames().back(), c.dialog);
        ExpectRestored(torvik);
        if (!c.frames.empty()) {
            EXPECT_EQ(torvik->focusWidget(), Edit(torvik, 1));
        }
        Close(torvik);
    }
}

TEST_F(TorvikTest, TheDecoderHoldsWhatWasSaved) {
    Ready(Open(torvik), "torvik");
    Edit(torvik, 1)->setText("2000");
    Edit(torvik, 2)->setText("2150");
    Check("C1")->setChecked(false);
    Save(torvik);
    EXPECT_EQ(Texts(torvik, 1, 4), QStringList({"2000", "2150", "0100", "0299"}));
    EXPECT_EQ(sim->Word(Torvik, 0x00), 0x2000);
    EXPECT_EQ(sim->Word(Torvik, 0x02), 0x2150);
    EXPECT_EQ(sim->Word(Torvik, 0x04), 0x0000);
}

TEST_F(TorvikTest, AnAddressWithABlankIsRefusedBeforeAnythingIsSent) {
    const QString cases[][2] = {{"12 4", "300"}, {" 124", "300"}, {"0100", "3 0"}};
    for (const auto& c : cases) {
        Open(torvik);
        sim->ClearLog();
        Edit(torvik, 1)->setText(c[0]);
        Edit(torvik, 2)->setText(c[1]);
        Save(torvik);
        EXPECT_TRUE(Sent().empty()) << c[0].toStdString();
        const bool inicio = c[0].contains(' ');
        EXPECT_EQ(LastMessage(),
                  QStringLiteral("%1: '%2' is not a number \u2014 type digits only")
                      .arg(inicio ? "Start adress" : "End adress", c[inicio ? 0 : 1]));
        EXPECT_EQ(torvik->focusWidget(), Edit(torvik, inicio ? 1 : 2));
        ExpectRestored(torvik);
        Close(torvik);
    }
}

TEST_F(TorvikTest, AnUnansweredWriteLeavesTheOthersMadeAndIsReported) {
    Ready(Open(torvik), "torvik");
    sim->SetFault(Fault{FaultKind::Silent, Torvik, 0x00, -1});
    Edit(torvik, 1)->setText("300");
    Edit(torvik, 2)->setText("301");
    Save(torvik);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"B0 00 00 03", "B0 00 00 03", "B0 00 00 03",
                                                "B0 02 01 03", "B0 04 FF FF"}));
    EXPECT_EQ(sim->Word(Torvik, 0x02), 0x0301);
    EXPECT_EQ(DialogNames().back(), "F_Mensa01");
    ExpectRestored(torvik);
    sim->ClearLog();
    Close(torvik);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"50 20 FF 9F", "50 20 FF 9F"}));
}

} // namespace
