#include "Enrutado.h"
#include "tools_fixture.h"

#include "Idiomas.h"
#include "Recursos.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace kalvex::test {
namespace {

const QString Shared = QStringLiteral("Ref. 6745 / Ref. 6734 / Ref. 6713");
const QString Unknown = QString::fromUtf8("\u00BF?");

class DevicesTest : public ToolsTest {
protected:
    void Open(const std::string& installation) {
        Start(installation);
        window = Ventanas().F_Test;
        window->show();
        list = Child<QTreeWidget>(window, "Lista");
    }
    void Range(const char* type, const QString& from, const QString& to) {
        Click(window, type);
        Child<QLineEdit>(window, "Edit1")->clear();
        Child<QLineEdit>(window, "Edit2")->clear();
        Type(window, "Edit1", from);
        Type(window, "Edit2", to);
        sim->ClearLog();
        Click(window, "B_START");
    }
    bool Idle() {
        return Child<QPushButton>(window, "B_START")->isEnabled() &&
               !Child<QPushButton>(window, "B_STOP")->isEnabled() &&
               Child<QPushButton>(window, "B_Close")->isEnabled();
    }
    // Each row as "picture|Device|Type|Decoder", top row first.
    QStringList Rows() {
        const QImage yes = QIcon(Imagen("respondido.png")).pixmap(16).toImage();
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* r = list->topLevelItem(i);
            const bool answered = r->icon(0).pixmap(16).toImage() == yes;
            out << QStringList{answered ? "yes" : "no", r->text(1), r->text(2), r->text(3)}.join(
                '|');
        }
        return out;
    }
    QString Text(const char* edit) { return Child<QLineEdit>(window, edit)->text(); }
    // The rows the list shows, as Rows() gives them.
    QStringList Shown() {
        QStringList all = Rows();
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (!list->topLevelItem(i)->isHidden())
                out << all[i];
        return out;
    }
    QString Line() { return Child<QLabel>(window, "Label4")->text(); }
    // The question before clearing is answered by its clearing button.
    void ConfirmClear() {
        inspect = [](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w))
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == "Clear the list")
                        b->click();
        };
    }
    // The progress bar as "value/maximum".
    QString Bar() {
        auto* bar = Child<QProgressBar>(window, "ProgressBar1");
        return QStringLiteral("%1/%2").arg(bar->value()).arg(bar->maximum());
    }

    TF_Test* window = nullptr;
    QTreeWidget* list = nullptr;
};

TEST_F(DevicesTest, EachRangeIsPaddedQueriedAndListedNewestFirst) {
    Open("[a]\nmodel = 6745\nserves = 1234 0007\n[p]\nmodel = 6763\nserves = D012 D013\n"
         "[s]\nmodel = 6758\nserves = A123\n[r]\nmodel = 6759\nserves = B123\n");
    using Frames = std::vector<std::string>;
    const struct {
        const char* type;
        QString from, to, paddedFrom, paddedTo;
        Frames sent;
        QStringList rows;
    } cases[] = {
        {"R1", "7", "", "0007", "", {"70 01 07 00"}, {"yes|0007|Audio|" + Shared}},
        {"R1", "1234", "", "1234", "", {"70 01 34 12"}, {"yes|1234|Audio|" + Shared}},
        {"R3", "123", "", "123", "", {"70 01 23 A1"}, {"yes|123|Sensors|Ref. 6758"}},
        {"R4", "123", "", "123", "", {"70 01 23 B1"}, {"yes|123|Relays|Ref. 6759"}},
        // A silent code is tried three times.
        {"R2",
         "12",
         "14",
         "012",
         "014",
         {"70 01 12 D0", "70 01 13 D0", "70 01 14 D0", "70 01 14 D0", "70 01 14 D0"},
         {"no|014|Panels decoder|" + Unknown, "yes|013|Panels decoder|Ref. 6763",
          "yes|012|Panels decoder|Ref. 6763"}},
        {"R1", "5", "3", "0005", "0003", {}, {}}, // end below start
    };
    for (const auto& c : cases) {
        list->clear();
        Range(c.type, c.from, c.to);
        const std::string what = c.type + (" " + c.from + "-" + c.to).toStdString();
        EXPECT_EQ(Text("Edit1"), c.paddedFrom) << what;
        EXPECT_EQ(Text("Edit2"), c.paddedTo) << what;
        EXPECT_EQ(Sent(), c.sent) << what;
        EXPECT_EQ(Rows(), c.rows) << what;
        EXPECT_TRUE(Idle()) << what;
    }
    EXPECT_TRUE(Quiet());
}

TEST_F(DevicesTest, StopDuringTheSecondQueryEndsTheRangeAndTheWindowStaysOpenMeanwhile) {
    Open("[hall]\nmodel = 6745\nserves = 0001\n");
    bool stillOpen = false;
    During stop([&] { return SentCount("70 01 02 00") == 1; },
                [&] {
                    window->close();
                    QTest::keyClick(window, Qt::Key_Escape);
                    stillOpen = window->isVisible();
                    Click(window, "B_STOP");
                });
    Range("R1", "1", "10");
    ASSERT_TRUE(stop.done);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"70 01 01 00", "70 01 02 00", "70 01 02 00",
                                                "70 01 02 00"}));
    EXPECT_TRUE(Quiet());
    EXPECT_EQ(Rows(), (QStringList{"no|0002|Audio|" + Unknown, "yes|0001|Audio|" + Shared}));
    EXPECT_EQ(Line(), QString::fromUtf8("Stopped after 2 of 10 codes: 1 answered, 1 silent"));
    EXPECT_EQ(Bar(), "2/10");
    EXPECT_TRUE(Idle());
    Click(window, "B_Close");
    EXPECT_FALSE(window->isVisible());
}

TEST_F(DevicesTest, TheKeyboardRunsAndStopsATest) {
    Open("[hall]\nmodel = 6745\n");
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* start = Child<QLineEdit>(window, "Edit1");
    EXPECT_TRUE(start->hasFocus());
    QTest::keyClick(start, Qt::Key_Tab);
    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget(), Child<QPushButton>(window, "B_START"));
    start->setFocus();
    Type(window, "Edit1", "1");
    Type(window, "Edit2", "5");
    // Return starts the range; Stop has the focus meanwhile, so Space stops it.
    During stop([&] { return SentCount("70 01 01 00") == 1; },
                [&] { QTest::keyClick(window->focusWidget(), Qt::Key_Space); });
    QTest::keyClick(start, Qt::Key_Return);
    ASSERT_TRUE(stop.done);
    EXPECT_EQ(Sent().size(), 3u) << "stopped after the first code";
    EXPECT_TRUE(start->hasFocus()) << "the focus goes back where it was";
}

TEST_F(DevicesTest, TheFieldsFollowTheTypeAndShowingResetsThemButKeepsTheRows) {
    Open("[hall]\nmodel = 6745\nserves = 0007\n");
    auto* start = Child<QLineEdit>(window, "Edit1");
    Type(window, "Edit1", "1a2-3.4"); // only digits pass the filter
    Type(window, "Edit2", "99");
    EXPECT_EQ(start->text(), "1234");
    Click(window, "R3");
    EXPECT_EQ(start->text(), "234");
    EXPECT_EQ(Text("Edit2"), "99");
    Type(window, "Edit1", "5");
    EXPECT_EQ(start->text(), "234");
    Click(window, "R1"); // back to audio: the fields stay, four digits fit again
    Type(window, "Edit1", "5");
    EXPECT_EQ(start->text(), "2345");

    Range("R1", "7", "");
    window->close();
    Enrutado().Modelo_Activo = 2;
    window->show();
    EXPECT_EQ(Enrutado().Modelo_Activo, 0);
    EXPECT_EQ(Text("Edit1"), "");
    EXPECT_EQ(list->topLevelItemCount(), 1);
    Click(window, "B_Clear");
    EXPECT_EQ(list->topLevelItemCount(), 0);
}

TEST_F(DevicesTest, AnErrorDuringATestLeavesTheWindowIdleAndReachesTheErrorBox) {
    Open("[hall]\nmodel = 6745\n");
    TF_Reprogram* find = Ventanas().F_Reprogram;
    find->show();
    Type(find, "Edit1", "25"); // nobody answers: the search waits 0.75 s
    const struct {
        QString from, to, message;
    } cases[] = {
        {"1 2", "", "'01 2' is not a valid integer value"},
        {"1", "1 2", "'01 2' is not a valid integer value"},
        {"7", "", Texto("GEN_MEN036")}, // the link is busy with the search
        {"7", "", ""},                  // the port is closed: its write error
    };
    for (const auto& c : cases) {
        const size_t before = dialogs->Dialogs().size();
        if (c.message == Texto("GEN_MEN036")) {
            During start([&] { return SentCount("70 01 25 00") == 1; },
                         [&] { Range("R1", c.from, c.to); });
            Click(find, "B_Find");
            ASSERT_TRUE(start.done);
        } else {
            if (c.message.isEmpty())
                main->Decod1->SetConnected(false);
            Range("R1", c.from, c.to);
        }
        ASSERT_TRUE(WaitUntil([&] { return dialogs->Dialogs().size() == before + 1; }))
            << c.from.toStdString();
        if (!c.message.isEmpty()) {
            EXPECT_EQ(dialogs->Dialogs()[before].text, c.message);
        }
        EXPECT_EQ(SentCount("70 01 07 00") + SentCount("70 01 01 00"), 0u);
        EXPECT_TRUE(Idle()) << c.from.toStdString();
    }
    window->close();
    EXPECT_FALSE(window->isVisible()) << "idle flag not restored";
}

TEST_F(DevicesTest, TheProgressLineCountsEachCodeAndASummaryEndsTheTest) {
    Open("[hall]\nmodel = 6745\nserves = 0001 0002 0004\n");
    // While the silent third code is being asked, two are done. They are painted within its
    // first wait, not before its request goes out: the sample waits for that, inside it.
    QString during;
    QString barDuring;
    During third([&] { return SentCount("70 01 03 00") == 1 && Line().startsWith("2 of 4"); },
                 [&] {
                     during = Line();
                     barDuring = Bar();
                 });
    Range("R1", "1", "4");
    ASSERT_TRUE(third.done);
    static const QRegularExpression kRunning(
        QString::fromUtf8("^2 of 4 — 2 answered — about \\d+ s left$"));
    EXPECT_TRUE(kRunning.match(during).hasMatch()) << during.toStdString();
    EXPECT_EQ(barDuring, "2/4");
    EXPECT_EQ(Line(), "4 codes tested: 3 answered, 1 silent");
    EXPECT_EQ(Bar(), "4/4");

    // One code: the bar full and a summary in the singular.
    const struct {
        const char* code;
        QString line;
    } single[] = {{"2", "1 code tested: it answered"}, {"3", "1 code tested: no answer"}};
    for (const auto& c : single) {
        Range("R1", c.code, "");
        EXPECT_EQ(Line(), c.line) << c.code;
        EXPECT_EQ(Bar(), "1/1") << c.code;
    }

    // An empty range and Clear leave nothing to sum up.
    Range("R1", "5", "3");
    EXPECT_EQ(Line(), "");
    Range("R1", "1", "");
    ConfirmClear();
    Click(window, "B_Clear");
    EXPECT_EQ(Line(), "");
    EXPECT_EQ(Bar(), "0/1");
}

TEST_F(DevicesTest, AnsweredOnlyHidesTheSilentRowsAndUncheckingShowsThemInPlace) {
    Open("[hall]\nmodel = 6745\nserves = 0001 0002 0005\n");
    auto* filter = Child<QCheckBox>(window, "CheckBox1");
    auto* exportButton = Child<QPushButton>(window, "B_Export");
    EXPECT_FALSE(exportButton->isEnabled()) << "nothing to export";
    Range("R1", "1", "3");
    const QString yes1 = "yes|0001|Audio|" + Shared, yes2 = "yes|0002|Audio|" + Shared,
                  no3 = "no|0003|Audio|" + Unknown;
    EXPECT_TRUE(exportButton->isEnabled());
    filter->click();
    EXPECT_EQ(Shown(), (QStringList{yes2, yes1}));
    // Rows that come while it is checked follow it.
    Range("R1", "5", "6");
    const QString yes5 = "yes|0005|Audio|" + Shared, no6 = "no|0006|Audio|" + Unknown;
    EXPECT_EQ(Shown(), (QStringList{yes5, yes2, yes1}));
    filter->click();
    EXPECT_EQ(Shown(), (QStringList{no6, yes5, no3, yes2, yes1}));

    // Nothing shown, nothing to export; Clear empties the hidden rows too, once confirmed.
    filter->click();
    ConfirmClear();
    Click(window, "B_Clear");
    EXPECT_FALSE(exportButton->isEnabled());
    Range("R1", "6", "");
    EXPECT_EQ(list->topLevelItemCount(), 1);
    EXPECT_FALSE(exportButton->isEnabled()) << "the one row is hidden";
    filter->click();
    EXPECT_TRUE(exportButton->isEnabled());
}

TEST_F(DevicesTest, ClearAsksBeforeClearingMoreThanOneResultAndItsGlyphsAreNamed) {
    Open("[hall]\nmodel = 6745\nserves = 0001\n");
    for (const auto& [button, name] :
         {std::pair{"B_Clear", "Clear the list"}, std::pair{"B_Close", "Close"}}) {
        EXPECT_EQ(Child<QPushButton>(window, button)->toolTip(), name);
        EXPECT_EQ(Child<QPushButton>(window, button)->accessibleName(), name);
    }
    // Two results: asked, and cancelling (the box's default) keeps them.
    Range("R1", "1", "2");
    Click(window, "B_Clear");
    EXPECT_EQ(dialogs->Dialogs().back().text, "Clear the 2 results from the list?");
    EXPECT_EQ(list->topLevelItemCount(), 2);
    ConfirmClear();
    Click(window, "B_Clear");
    EXPECT_EQ(list->topLevelItemCount(), 0);
    // One result goes without a question.
    const size_t asked = dialogs->Dialogs().size();
    Range("R1", "1", "");
    inspect = nullptr;
    Click(window, "B_Clear");
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(dialogs->Dialogs().size(), asked);
}

// Device, type, answered, decoder (empty for a silent code) and the local time of the query,
// for the rows shown, top first.
TEST_F(DevicesTest, ExportWritesTheShownRowsAsCsvInTheDataFolder) {
    Open("[hall]\nmodel = 6745\nserves = 0001 0002\n");
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    Range("R1", "1", "3");
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    QString proposed;
    QTemporaryDir dir;
    inspect = [&](QWidget* w) {
        if (auto* d = qobject_cast<QFileDialog*>(w)) {
            proposed = d->selectedFiles().value(0);
            d->selectFile(dir.filePath("all"));
            static_cast<QDialog*>(d)->accept();
        }
    };
    Click(window, "B_Export");
    inspect = nullptr;
    EXPECT_EQ(QFileInfo(proposed).absolutePath(),
              QDir(qEnvironmentVariable("KALVEX_DATA_DIR")).absolutePath());
    EXPECT_TRUE(proposed.endsWith(".csv")) << proposed.toStdString();

    QFile file(dir.filePath("all.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "a byte-order mark for spreadsheets";
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
    ASSERT_EQ(lines.size(), 5) << bytes.toStdString();
    EXPECT_EQ(lines[0], "Device,Type,Answered,Decoder,Time of the query");
    EXPECT_EQ(lines[4], "") << "every line ends in CR LF";
    const QStringList expected{"0003,Audio,no,", "0002,Audio,yes," + Shared,
                               "0001,Audio,yes," + Shared};
    static const QRegularExpression kTime(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    for (int i = 0; i < 3; ++i) {
        const QString line = lines[i + 1];
        const qsizetype comma = line.lastIndexOf(',');
        EXPECT_EQ(line.left(comma), expected[i]);
        const QString time = line.mid(comma + 1);
        EXPECT_TRUE(kTime.match(time).hasMatch()) << time.toStdString();
        const QDateTime when = QDateTime::fromString(time, "yyyy-MM-dd HH:mm:ss");
        EXPECT_TRUE(when >= before && when <= after) << time.toStdString();
    }

    // With answered only checked, the silent row stays out of the file.
    Child<QCheckBox>(window, "CheckBox1")->click();
    ASSERT_TRUE(window->Exporta(dir.filePath("answered.csv")));
    QFile answered(dir.filePath("answered.csv"));
    ASSERT_TRUE(answered.open(QIODevice::ReadOnly));
    EXPECT_EQ(answered.readAll().count("\r\n"), 3);
}

TEST_F(DevicesTest, AnExportThatCannotBeWrittenSaysWhyAndWhatToDo) {
    Open("[hall]\nmodel = 6745\nserves = 0001\n");
    Range("R1", "1", "");
    QTemporaryDir dir;
    const QString gone = dir.filePath("gone/devices.csv");
    EXPECT_FALSE(window->Exporta(gone));
    ASSERT_EQ(dialogs->Dialogs().size(), 1u);
    EXPECT_TRUE(dialogs->Dialogs()[0].text.startsWith(gone + " could not be written: "));
    EXPECT_TRUE(dialogs->Dialogs()[0].text.contains("Nothing was saved."));
    EXPECT_FALSE(QFileInfo::exists(gone));
}

TEST_F(DevicesTest, EachRowIsPaintedBeforeTheNextOneComes) {
    Open("[hall]\nmodel = 6745\nserves = 0001 0002 0003\n");
    // Paints of the list counted when each row arrives: the rows must not wait for the end of
    // the range, nor come in batches.
    int paints = 0;
    std::vector<int> atRow;
    struct Painted : QObject {
        int& n;
        explicit Painted(int& count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override {
            n += e->type() == QEvent::Paint;
            return false;
        }
    } painted{paints};
    list->viewport()->installEventFilter(&painted);
    QObject::connect(list->model(), &QAbstractItemModel::rowsInserted,
                     [&] { atRow.push_back(paints); });
    Range("R1", "1", "3");
    ASSERT_EQ(atRow.size(), 3u);
    EXPECT_GT(atRow[1], atRow[0]);
    EXPECT_GT(atRow[2], atRow[1]);
    EXPECT_TRUE(WaitUntil([&] { return paints > atRow[2]; }));
}

} // namespace
} // namespace kalvex::test
