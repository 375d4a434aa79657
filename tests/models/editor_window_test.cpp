// The editor window itself: fill and clear, the key filter, the tab order, the texts, and
// the closing frame on every way of closing.

#include "editor_fixture.h"

#include "Enrutado.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSet>
#include <QTimer>

using namespace kalvex::test;

namespace {

class WindowTest : public EditorTest {
protected:
    void SetUp() override { Start("[hall]\nmodel = 6745\n"); }
};

TEST_F(WindowTest, FillCountsOnFromTheFirstCodeUpToTheLargestOne) {
    const struct {
        int referencia;
        QString first;
        QStringList expected;
    } cases[] = {
        {6745, "7", {"0007", "0008", "0009", "0010"}},
        {6745, "9998", {"9998", "9999", "", ""}},
        {6746, "9995", {"9995", "9996", "9997", "9998", "9999", "", "", ""}},
        {6763, "998", {"998", "999", "", ""}},
        {6763, "7", {"007", "008", "009", "010"}},
        {6745, "", {"", "x", "x", "x"}}, // nothing to count from
    };
    for (const auto& c : cases) {
        TF_Decoder* editor = Go(c.referencia);
        const int n = static_cast<int>(c.expected.size());
        Type(editor, QStringList(n, QStringLiteral("x")));
        Edit(editor, 1)->setText(c.first);
        Edit(editor, n + 1)->setText("111");
        QTest::mouseClick(Button(editor, "BitBtn1"), Qt::LeftButton);
        EXPECT_EQ(Texts(editor, 1, n), c.expected) << c.referencia << " " << c.first.toStdString();
        EXPECT_EQ(Edit(editor, n + 1)->text(), "111");
        QTest::mouseClick(Button(editor, "BitBtn3"), Qt::LeftButton);
        EXPECT_EQ(Texts(editor, 1, n), QStringList(n, QString()));
        EXPECT_EQ(Edit(editor, n + 1)->text(), "111");
        Close(editor);
    }
}

TEST_F(WindowTest, FillFromACodeThatIsNotANumberShowsTheConversionError) {
    TF_Decoder* editor = Go(6745);
    Type(editor, {"12 4", "a", "b", "c"});
    QTest::mouseClick(Button(editor, "BitBtn1"), Qt::LeftButton);
    ASSERT_EQ(dialogs->Dialogs().size(), 1u);
    EXPECT_EQ(dialogs->Dialogs()[0].text, "'12 4' is not a valid integer value");
    EXPECT_EQ(Texts(editor, 1, 2), QStringList({"12 4", "a"}));
}

TEST_F(WindowTest, OnlyDigitsAndTheBlankCanBeTypedIntoANewField) {
    const struct {
        const char* keys;
        const char* shown;
    } cases[] = {
        {"1234", "1234"}, {"12345", "1234"}, {"a1-b2.", "12"}, {"1 2", "1 2"}, {"+-*/xyzF", ""}};
    TF_Decoder* editor = Go(6745);
    for (const auto& c : cases) {
        Edit(editor, 1)->clear();
        QTest::keyClicks(Edit(editor, 1), c.keys);
        EXPECT_EQ(Edit(editor, 1)->text(), c.shown) << c.keys;
    }
    QTest::keyClick(Edit(editor, 1), Qt::Key_Backspace);
    EXPECT_EQ(Edit(editor, 1)->text(), "");
    EXPECT_TRUE(Edit(editor, 5)->isReadOnly());
}

TEST_F(WindowTest, TabGoesThroughTheNewFieldsThenTheButtons) {
    const struct {
        int referencia;
        QStringList order;
    } cases[] = {
        {6745,
         {"Edit2", "Edit3", "Edit4", "BitBtn1", "BitBtn3", "B_Guarda_Config", "B_Carga_Config",
          "B_Actuales", "B_Save", "CB_ReadBack", "B_Close", "Edit1"}},
        {6746,
         {"Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "BitBtn1", "BitBtn3",
          "B_Guarda_Config", "B_Carga_Config", "B_Actuales", "B_Save", "CB_ReadBack", "B_Close",
          "Edit1"}},
        {6786,
         {"B_Guarda_Config", "B_Carga_Config", "B_Actuales", "B_Save", "CB_ReadBack", "B_Close",
          "Edit3"}},
    };
    for (const auto& c : cases) {
        TF_Decoder* editor = Go(c.referencia);
        QWidget* start = Edit(editor, c.referencia == 6786 ? 3 : 1);
        QStringList seen;
        for (QWidget* w = start->nextInFocusChain(); seen.size() < c.order.size();
             w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && w->window() == editor)
                seen << w->objectName();
        EXPECT_EQ(seen, c.order) << c.referencia;
        Close(editor);
    }
}

TEST_F(WindowTest, TextsComeFromTheLanguageFile) {
    TF_Decoder* editor = Go(6745);
    const struct {
        const char* label;
        const char* text;
    } cases[] = {{"Label28", "*Press programming button"},
                 {"Label10", " to get values"},
                 {"Label17", "Current"},
                 {"Label20", "New"},
                 {"Label5", "Output"},
                 {"Label21", "Output"},
                 {"Label3", "Value"},
                 {"Label4", "Value"},
                 {"Label6", "1"},
                 {"Label25", "4"}};
    for (const auto& c : cases)
        EXPECT_EQ(editor->findChild<QLabel*>(c.label)->text(), c.text) << c.label;
    EXPECT_EQ(Button(editor, "B_Save")->text(), "Save");
    EXPECT_EQ(Button(editor, "B_Close")->text(), "Close");
    EXPECT_FALSE(Button(editor, "BitBtn1")->toolTip().isEmpty());
    EXPECT_EQ(editor->windowTitle(), "Kalvex 3.3 \u2014 6745 - Audio Decoder 4");
    EXPECT_EQ(Go(6786)->findChild<QLabel*>("Label11")->text(), "Quendal address");
}

// A screen reader names each field and button by what it is, and no two fields alike.
TEST_F(WindowTest, EveryControlOfEveryEditorHasItsOwnName) {
    for (const TModelo& m : Tabla_Modelos()) {
        SCOPED_TRACE(m.Referencia);
        TF_Decoder* editor = Go(m.Referencia);
        QSet<QString> names;
        for (QWidget* w : editor->findChildren<QWidget*>()) {
            const bool field = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                               qobject_cast<QCheckBox*>(w);
            // A combo box's or spin box's own line edit is read out as the box itself.
            const bool inner = qobject_cast<QComboBox*>(w->parentWidget()) ||
                               qobject_cast<QAbstractSpinBox*>(w->parentWidget());
            if (inner || !w->isVisibleTo(editor) || !(field || qobject_cast<QAbstractButton*>(w)))
                continue;
            const QString name = w->accessibleName().isEmpty() && !field
                                     ? static_cast<QAbstractButton*>(w)->text()
                                     : w->accessibleName();
            EXPECT_FALSE(name.isEmpty()) << "unnamed: " << w->objectName().toStdString();
            if (field) {
                EXPECT_FALSE(names.contains(name)) << name.toStdString();
            }
            names.insert(name);
        }
        // Not the fixture's Close: that one counts call decoders' closing frames.
        QPushButton* close = Button(editor, "B_Close");
        QTest::mouseClick(close ? close : Button(editor, "B_CLose"), Qt::LeftButton);
        EXPECT_TRUE(WaitUntil([&] { return !editor->isVisible(); }));
    }
}

TEST_F(WindowTest, EveryWayOfClosingStopsTheRoutingAndSendsTheClosingFrame) {
    const struct {
        int referencia;
        std::string closing;
    } models[] = {
        {6745, "50 20 FF 9F"}, {6722, "50 20 FF 9F"}, {6763, "50 20 FF DF"}, {6786, "50 20 FF FF"}};
    const std::function<void(TF_Decoder*)> ways[] = {
        [](TF_Decoder* e) { QTest::mouseClick(Button(e, "B_Close"), Qt::LeftButton); },
        [](TF_Decoder* e) { e->close(); },
        [](TF_Decoder* e) { e->hide(); },
    };
    for (const auto& m : models)
        for (const auto& way : ways) {
            TF_Decoder* editor = Go(m.referencia);
            ASSERT_NE(Enrutado().Modelo_Activo, 0);
            sim->ClearLog();
            way(editor);
            EXPECT_FALSE(editor->isVisible());
            EXPECT_EQ(Enrutado().Modelo_Activo, 0);
            EXPECT_EQ(SentAtLeast(2), (std::vector<std::string>{m.closing, m.closing}))
                << m.referencia;
        }
    // Escape does not close an editor behind the installer's back.
    TF_Decoder* editor = Go(6745);
    QTest::keyClick(Edit(editor, 1), Qt::Key_Escape);
    EXPECT_TRUE(editor->isVisible());
}

// Another window's Save is waiting for a silent decoder when this editor closes: its
// closing frame still goes out, once the link is free, and no busy error is shown.
TEST_F(WindowTest, AClosingFrameThatMeetsABusyLinkGoesOutAfterwards) {
    TF_Decoder* converter = Go(6786);
    TF_Decoder* editor = Go(6745);
    converter->show();
    sim->ClearLog();
    QTimer::singleShot(100, editor, [editor] { editor->close(); });
    Save(converter); // one register, no decoder in programming mode: three silent attempts
    EXPECT_FALSE(editor->isVisible());
    const std::vector<std::string> closing{"50 20 FF 9F", "50 20 FF 9F"};
    ASSERT_TRUE(WaitUntil([&] {
        const auto sent = Sent();
        return sent.size() >= 5 && std::vector<std::string>(sent.end() - 2, sent.end()) == closing;
    })) << Trace();
    EXPECT_EQ(Sent().size(), 5u); // three write attempts, then the closing frame twice
    for (const auto& d : dialogs->Dialogs())
        EXPECT_TRUE(d.text.isEmpty()) << d.text.toStdString(); // only the outcome dialog
}

TEST_F(WindowTest, ShowingAHiddenEditorEmptiesItAndAClosedOneNoLongerChecksForEmptiness) {
    TF_Decoder* editor = Go(6745);
    Type(editor, {"1", "2", "3", "4"});
    editor->Lee_Decoder(Trama_Dec(0x40, 0x44, 0xFF, 0xFF)); // starts the 200 ms check
    editor->close();
    ASSERT_EQ(Go(6745), editor);
    EXPECT_EQ(Texts(editor, 1, 8), QStringList(8, QString()));
    // The check of the closed window was stopped: only the open one may report.
    editor->Lee_Decoder(Trama_Dec(0x40, 0x44, 0xFF, 0xFF));
    ASSERT_TRUE(WaitDialog("F_Mensa02"));
    EXPECT_EQ(DialogNames(), QStringList{"F_Mensa02"});
}

} // namespace
