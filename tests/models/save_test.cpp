// Save: the frames written, what the decoder then holds, the result dialogs, and the cursor
// and button that come back however the Save ends.

#include "editor_fixture.h"

#include <QMessageBox>

using namespace kalvex::test;
using kalvex::sim::Fault;
using kalvex::sim::FaultKind;

namespace {

const char* Installation = R"(
[hall]
model = 6745
codes = 1111 1112 1113 1114

[seltra]
model = 6747
codes = 2001 - - -

[eight]
model = 6746
codes = 1001 1002 1003 1004 1005 1006 1007 1008

[panel]
model = 6763
codes = D001 D002 D003 D004

[converter]
model = 6786
address = 0001
)";

enum { Hall, Seltra, Eight, Panel, Converter };

class SaveTest : public EditorTest {
protected:
    void SetUp() override { Start(Installation); }
};

TEST_F(SaveTest, TheNewColumnIsPaddedAndWrittenOutputByOutput) {
    const struct {
        int referencia;
        const char* decoder;
        int index;
        QStringList nuevos;
        std::vector<std::string> frames;
        std::vector<uint16_t> words;
        QStringList after;
    } cases[] = {
        {6745,
         "hall",
         Hall,
         {"1234", "1235", "", "7"},
         {"B0 00 34 12", "B0 02 35 12", "B0 04 FF FF", "B0 06 07 00"},
         {0x1234, 0x1235, 0xFFFF, 0x0007},
         {"1234", "1235", "", "0007"}},
        {6746,
         "eight",
         Eight,
         {"0001"},
         {"B0 00 01 00", "B0 02 FF FF", "B0 04 FF FF", "B0 06 FF FF", "B0 08 FF FF", "B0 0A FF FF",
          "B0 0C FF FF", "B0 0E FF FF"},
         {0x0001, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF},
         {"0001", "", "", "", "", "", "", ""}},
        {6763,
         "panel",
         Panel,
         {"5", "", "", "42"},
         {"B0 00 05 D0", "B0 02 FF FF", "B0 04 FF FF", "B0 06 42 D0"},
         {0xD005, 0xFFFF, 0xFFFF, 0xD042},
         {"005", "", "", "042"}},
        // An all-empty New column passes the check and empties every output.
        {6747,
         "seltra",
         Seltra,
         {},
         {"B0 00 FF FF", "B0 02 FF FF", "B0 04 FF FF", "B0 06 FF FF"},
         {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF},
         {"", "", "", ""}},
    };
    for (const auto& c : cases) {
        TF_Decoder* editor = Ready(Go(c.referencia), c.decoder);
        const int n = static_cast<int>(c.after.size());
        Type(editor, c.nuevos + QStringList(n - c.nuevos.size(), QString()));
        const QStringList current = Texts(editor, n + 1, 2 * n);
        Save(editor);
        EXPECT_EQ(Sent(), c.frames) << c.referencia;
        for (size_t k = 0; k < c.words.size(); ++k)
            EXPECT_EQ(sim->Word(c.index, static_cast<uint8_t>(2 * k)), c.words[k])
                << c.referencia << " " << k;
        EXPECT_EQ(Texts(editor, 1, n), c.after);
        EXPECT_EQ(Texts(editor, n + 1, 2 * n), current); // only a read-out changes them
        EXPECT_EQ(dialogs->Dialogs().back().name, "F_Mensa05");
        ExpectRestored(editor);
        Close(editor);
    }
}

TEST_F(SaveTest, TheFocusReturnsToTheFirstFieldOnlyWhereTheModelSaysSo) {
    const struct {
        int referencia;
        const char* decoder;
        bool back;
    } cases[] = {{6745, "hall", true}, {6747, "seltra", false}, {6746, "eight", true}};
    for (const auto& c : cases) {
        TF_Decoder* editor = Ready(Go(c.referencia), c.decoder);
        Save(editor); // the click leaves the focus on the button
        EXPECT_EQ(editor->focusWidget() == Edit(editor, 1), c.back) << c.referencia;
        Close(editor);
    }
}

TEST_F(SaveTest, AnUnansweredWriteIsRetriedTheOthersAreStillMadeAndTheFailureReported) {
    TF_Decoder* editor = Ready(Go(6745), "hall");
    sim->SetFault(Fault{FaultKind::Silent, Hall, 0x02, -1});
    Type(editor, {"1", "2", "3", "4"});
    Save(editor);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"B0 00 01 00", "B0 02 02 00", "B0 02 02 00",
                                                "B0 02 02 00", "B0 04 03 00", "B0 06 04 00"}));
    EXPECT_EQ(sim->Word(Hall, 0x06), 0x0004);
    EXPECT_EQ(DialogNames().back(), "F_Mensa01");
    ExpectRestored(editor);
}

TEST_F(SaveTest, AFirstOutputWithoutCodeBeforeOthersIsRefusedUnsent) {
    const struct {
        int referencia;
        const char* decoder;
        int salidas, field;
    } cases[] = {{6745, "hall", 4, 3}, {6746, "eight", 8, 8}, {6763, "panel", 4, 4}};
    for (const auto& c : cases) {
        TF_Decoder* editor = Ready(Go(c.referencia), c.decoder);
        QStringList nuevos(c.salidas, QString());
        nuevos[c.field - 1] = "5";
        Type(editor, nuevos);
        Save(editor);
        EXPECT_TRUE(Sent().empty()) << c.referencia;
        EXPECT_EQ(Edit(editor, c.field)->text(), "5"); // not padded
        EXPECT_EQ(DialogNames().back(), "F_Mensa04");
        ExpectRestored(editor);
        Close(editor);
    }
}

TEST_F(SaveTest, ACodeWithABlankIsRefusedBeforeAnythingIsSent) {
    const struct {
        int referencia;
        const char* decoder;
        int field;
        QString typed;
        QString where;
    } cases[] = {{6745, "hall", 2, "12 4", "Output 2, code"},
                 {6763, "panel", 1, "1 ", "Output 1, code"},
                 {6786, "converter", 3, " 56", "Quendal address"}};
    for (const auto& c : cases) {
        TF_Decoder* editor = Ready(Go(c.referencia), c.decoder);
        Edit(editor, c.field)->clear();
        QTest::keyClicks(Edit(editor, c.field), c.typed); // the key filter lets the blank through
        ASSERT_EQ(Edit(editor, c.field)->text(), c.typed);
        Save(editor);
        EXPECT_TRUE(Sent().empty()) << c.referencia;
        ASSERT_FALSE(dialogs->Dialogs().empty());
        EXPECT_EQ(dialogs->Dialogs().back().text,
                  QStringLiteral("%1: '%2' is not a number \u2014 type digits only")
                      .arg(c.where, c.typed));
        EXPECT_EQ(editor->focusWidget(), Edit(editor, c.field));
        EXPECT_EQ(Edit(editor, c.field)->text(), c.typed);
        ExpectRestored(editor);
        Close(editor);
    }
}

TEST_F(SaveTest, TheConverterReportsOnlyAFailure) {
    TF_Decoder* editor = Ready(Go(6786), "converter");
    const struct {
        QString typed;
        bool silent;
        std::string frame;
        QString after;
        QStringList dialogs;
        uint16_t word;
    } cases[] = {{"56", false, "B0 00 56 00", "0056", {}, 0x0056},
                 {"", false, "B0 00 00 8F", "", {}, 0x8F00},
                 {"9", true, "B0 00 09 00", "0009", {"F_Mensa01"}, 0}};
    for (const auto& c : cases) {
        sim->ClearLog();
        sim->ClearFaults();
        if (c.silent)
            sim->SetFault(Fault{FaultKind::Silent, Converter, -1, -1});
        const size_t before = dialogs->Dialogs().size();
        Edit(editor, 3)->setText(c.typed);
        Save(editor);
        EXPECT_EQ(Sent(), std::vector<std::string>(c.silent ? 3 : 1, c.frame));
        EXPECT_EQ(Edit(editor, 3)->text(), c.after);
        EXPECT_EQ(DialogNames().mid(static_cast<int>(before)), c.dialogs);
        ExpectRestored(editor);
        if (!c.silent) {
            EXPECT_EQ(sim->Word(Converter, 0x00), c.word);
        }
    }
}

TEST_F(SaveTest, ASaveRefusedBecauseTheLinkIsBusyGivesItsButtonBack) {
    TF_Decoder* four = Ready(Go(6745), "hall");
    TF_Decoder* eight = Go(6746);
    sim->SetFault(Fault{FaultKind::Silent, Hall, -1, -1});
    bool enabledAfterRefusal = false;
    // While the first Save waits for its replies, the other editor's Save is clicked.
    QTimer::singleShot(100, [&] {
        Save(eight);
        enabledAfterRefusal = Button(eight, "B_Save")->isEnabled();
    });
    Save(four);
    EXPECT_TRUE(enabledAfterRefusal);
    ASSERT_GE(dialogs->Dialogs().size(), 2u);
    EXPECT_TRUE(dialogs->Dialogs()[0].text.startsWith("The decoder link is busy"));
    EXPECT_EQ(DialogNames().back(), "F_Mensa01");
    for (const std::string& f : Sent())
        EXPECT_EQ(f.substr(0, 2), "B0"); // the refused Save sent nothing
    ExpectRestored(four);
    ExpectRestored(eight);
}

} // namespace
