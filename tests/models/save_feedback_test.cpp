// What a Save shows while it runs and what it leaves behind: the progress line under the
// buttons (each row written, each repeated attempt), and after a decoder that did not
// acknowledge some values, the marks on their New fields and the rows named in the failure
// dialog.

#include "editor_fixture.h"

#include "F_Mensa.h"
#include "Marcas_Cambio.h"

#include <QAbstractButton>
#include <QEvent>
#include <QMessageBox>

using namespace kalvex::test;
using kalvex::sim::Fault;
using kalvex::sim::FaultKind;

namespace {

const char* Installation = R"(
[hall]
model = 6745
codes = 1111 1112 1113 1114

[sensors]
model = 6758
codes = A101 A102 - - - - - -
times = 5s 7s - - - - - -

[torvik]
model = 6734
start = 0100
end = 0299

[converter]
model = 6786
address = 0001
)";

enum { Hall, Sensors, Torvik, Converter };

// Counts the paintings of a label while its text contains `part`.
class PaintSpy : public QObject {
public:
    PaintSpy(QLabel* label, QString part) : label_(label), part_(std::move(part)) {
        label_->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label_ && event->type() == QEvent::Paint && label_->text().contains(part_))
            ++count;
        return false;
    }

private:
    QLabel* label_;
    QString part_;
};

class SaveFeedbackTest : public EditorTest {
protected:
    void SetUp() override {
        Start(Installation);
        inspect = [this](QWidget* w) {
            if (auto* fallo = qobject_cast<TF_Mensa01*>(w))
                detail = fallo->Detalle->isVisible() ? fallo->Detalle->text() : QString();
        };
    }

    static QLabel* Line(QWidget* editor) {
        return editor->findChild<QLabel*>(QStringLiteral("Estado_Editor"));
    }
    // The progress line as it stands while each attempt waits for its reply: a queued call
    // runs inside the link's wait, after the editor has had its say.
    QStringList SaveSampling(QWidget* editor) {
        QStringList seen;
        QObject context;
        const QSize size = editor->size();
        QObject::connect(
            main->Decod1, &TDECODER2::Intento_Empezado, &context,
            [&] {
                seen << Line(editor)->text();
                EXPECT_EQ(editor->size(), size) << "the window keeps its size";
            },
            Qt::QueuedConnection);
        Save(editor);
        return seen;
    }
    static QWidget* Field(QWidget* editor, const QString& name) {
        return editor->findChild<QWidget*>(name);
    }
    static bool Unacknowledged(const QWidget* field) {
        return field->palette().color(QPalette::Base) == TMarcas_Cambio::Tinte_Sin_Acuse;
    }
    // Every New field of the editor that carries the mark.
    static QStringList Marked(QWidget* editor) {
        QStringList out;
        for (QWidget* w : editor->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (Unacknowledged(w) && !w->objectName().isEmpty())
                out << w->objectName();
        out.sort();
        return out;
    }

    // What the failure dialog said below its usual lines.
    QString detail;
};

TEST_F(SaveFeedbackTest, TheLineNamesEachOutputAndEachRepeatedAttemptWhileTheSaveRuns) {
    TF_Decoder* editor = Ready(Go(6745), "hall");
    sim->SetFault(Fault{FaultKind::Silent, Hall, 0x02, -1});
    PaintSpy painted(Line(editor), QStringLiteral("No answer"));
    EXPECT_EQ(SaveSampling(editor),
              QStringList({"Writing output 1 of 4…", "Writing output 2 of 4…",
                           "Writing output 2 of 4…  No answer — attempt 2 of 3",
                           "Writing output 2 of 4…  No answer — attempt 3 of 3",
                           "Writing output 3 of 4…", "Writing output 4 of 4…"}));
    EXPECT_GT(painted.count, 0) << "painted while the Save ran";
    // Then the state line says how the Save went.
    EXPECT_TRUE(Line(editor)->text().startsWith("Saved ")) << Line(editor)->text().toStdString();
    EXPECT_TRUE(Line(editor)->text().endsWith("Not acknowledged: output 2"))
        << Line(editor)->text().toStdString();
    ExpectRestored(editor);
}

// Each model family reports every row it writes: the line words it as the grid does, and a
// row whose write was not acknowledged is named in the dialog and marked.
TEST_F(SaveFeedbackTest, EveryFamilyNamesAndMarksTheRowsThatWereNotAcknowledged) {
    const struct {
        int referencia;
        const char* decoder;
        int last; // the field that the read-out's own reads fill last; 0: none
        std::vector<Fault> faults;
        QString seen; // one of the progress lines
        QString detail;
        QStringList marked;
    } cases[] = {
        {6745,
         "hall",
         0,
         {{FaultKind::Silent, Hall, 0x02}, {FaultKind::Silent, Hall, 0x04}},
         "Writing output 3 of 4…  No answer — attempt 3 of 3",
         "Not acknowledged: outputs 2, 3",
         {"Edit2", "Edit3"}},
        {6734,
         "torvik",
         0,
         {{FaultKind::Silent, Torvik, 0x02}},
         "Writing 2 of 3: End adress…  No answer — attempt 2 of 3",
         "Not acknowledged: End adress",
         {"Edit2"}},
        {6786,
         "converter",
         0,
         {{FaultKind::Silent, Converter}},
         "Writing: Quendal address…",
         "Not acknowledged: Quendal address",
         {"Edit3"}},
        // Its code and time were taken, but its sensor was not armed.
        {6758,
         "sensors",
         25,
         {{FaultKind::Silent, Sensors, 0x01, 3}},
         "Arming sensor 1 of 8…  No answer — attempt 2 of 3",
         "Not acknowledged: output 1",
         {"ComboBoxEx1", "Edit17", "Edit9"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.decoder);
        TF_Decoder* editor = Ready(Go(c.referencia), c.decoder, c.last);
        for (const Fault& f : c.faults)
            sim->SetFault(f);
        detail.clear();
        EXPECT_TRUE(SaveSampling(editor).contains(c.seen));
        EXPECT_EQ(DialogNames().back(), "F_Mensa01");
        EXPECT_EQ(detail, c.detail);
        EXPECT_EQ(Marked(editor), c.marked);
        for (const QString& name : c.marked)
            EXPECT_TRUE(Field(editor, name)->toolTip().contains("did not acknowledge"))
                << name.toStdString();
        sim->ClearFaults();
        Close(editor, c.referencia == 6758 ? 4 : 2);
    }
}

TEST_F(SaveFeedbackTest, AFullSuccessLeavesNoMarkAndNoListOfFailures) {
    TF_Decoder* editor = Ready(Go(6745), "hall");
    Type(editor, {"1", "2", "3", "4"});
    const QStringList seen = SaveSampling(editor);
    EXPECT_EQ(seen.size(), 4);
    EXPECT_EQ(DialogNames().back(), "F_Mensa05");
    EXPECT_TRUE(Marked(editor).isEmpty());
    // What the decoder acknowledged it holds: nothing is left to change, though the Current
    // column keeps the read-out until the next one.
    EXPECT_EQ(Edit(editor, 1)->palette().color(QPalette::Base), QPalette().color(QPalette::Base));
    EXPECT_FALSE(Edit(editor, 1)->font().bold());
    EXPECT_TRUE(Edit(editor, 1)->toolTip().isEmpty());
    EXPECT_EQ(Button(editor, "B_Save")->toolTip(), "Values that will change: 0");
}

TEST_F(SaveFeedbackTest, AMarkLastsWhileTheFieldHoldsTheValueThatWasNotAcknowledged) {
    TF_Decoder* editor = Ready(Go(6745), "hall");
    // The decoder read out again after a partial Save is the same decoder: the record must not
    // warn that the codes clash with the decoder's own.
    inspect = [](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->objectName() == "Choques") {
            ADD_FAILURE() << box->text().toStdString();
            for (QAbstractButton* b : box->buttons())
                if (box->buttonRole(b) == QMessageBox::AcceptRole)
                    b->click();
        }
    };
    const struct {
        const char* what;
        std::function<void()> then;
        QStringList marked;
    } cases[] = {
        {"nothing", [] {}, {"Edit2", "Edit3"}},
        {"output 2 edited",
         [&] { QTest::keyClick(Edit(editor, 2), Qt::Key_Backspace); },
         {"Edit3"}},
        // Edited is edited, even back to what it held.
        {"output 2 edited and typed back",
         [&] {
             QTest::keyClick(Edit(editor, 2), Qt::Key_Backspace);
             QTest::keyClicks(Edit(editor, 2), "2");
             ASSERT_EQ(Edit(editor, 2)->text(), "0002");
         },
         {"Edit3"}},
        {"a refused Save, which writes nothing",
         [&] {
             Edit(editor, 1)->clear();
             Save(editor);
             ASSERT_EQ(DialogNames().back(), "F_Mensa04");
         },
         {"Edit2", "Edit3"}},
        {"a new read-out", [&] { ReadOut("hall"); }, {}},
        {"a Save that succeeds",
         [&] {
             sim->ClearFaults();
             Save(editor);
         },
         {}},
        {"closing and opening again",
         [&] {
             Close(editor);
             Go(6745);
         },
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim->SetFault(Fault{FaultKind::Silent, Hall, 0x02});
        sim->SetFault(Fault{FaultKind::Silent, Hall, 0x04});
        Type(editor, {"1", "2", "3", "4"});
        Save(editor);
        ASSERT_EQ(Marked(editor), QStringList({"Edit2", "Edit3"}));
        // With a change still to be seen against the Current column (the decoder may have
        // stored the value it did not acknowledge), both marks: the red tint, the bold type of
        // a change, both tips.
        const bool change = Edit(editor, 2)->text() != Edit(editor, 6)->text();
        EXPECT_EQ(Edit(editor, 2)->font().bold(), change);
        EXPECT_EQ(Edit(editor, 2)->toolTip().count('\n'), change ? 1 : 0);
        c.then();
        EXPECT_EQ(Marked(editor), c.marked);
        sim->ClearFaults();
    }
}

} // namespace
