#include "Enrutado.h"
#include "tools_fixture.h"

#include "Idiomas.h"
#include "Recursos.h"

#include <QAbstractItemModel>
#include <QTreeWidget>

#include <atomic>
#include <mutex>

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

TEST_F(DevicesTest, RowsArePaintedAsTheyAreAnswered) {
    Open("[hall]\nmodel = 6745\nserves = 0001 0002 0003\n");
    // Paints of the list when each row arrives, and when the simulator receives each query
    // (on its own thread, after the program has written it).
    std::atomic<int> paints{0};
    std::vector<int> atRow;
    std::mutex mutex;
    std::vector<int> atQuery;
    struct Painted : QObject {
        std::atomic<int>& n;
        explicit Painted(std::atomic<int>& count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override {
            n += e->type() == QEvent::Paint;
            return false;
        }
    } painted{paints};
    list->viewport()->installEventFilter(&painted);
    QObject::connect(list->model(), &QAbstractItemModel::rowsInserted,
                     [&] { atRow.push_back(paints); });
    sim->SetFrameObserver([&](const kalvex::sim::LogEntry& e) {
        std::lock_guard lock(mutex);
        if (e.direction == kalvex::sim::Direction::FromProgram)
            atQuery.push_back(paints);
    });
    Range("R1", "1", "3");
    // The simulator observes on its own thread, a moment after the program wrote.
    EXPECT_TRUE(WaitUntil([&] {
        std::lock_guard lock(mutex);
        return atQuery.size() >= 3;
    }));
    sim->SetFrameObserver(nullptr);
    std::lock_guard lock(mutex);
    ASSERT_EQ(atRow.size(), 3u);
    ASSERT_EQ(atQuery.size(), 3u);
    EXPECT_GT(atQuery[1], atRow[0]);
    EXPECT_GT(atQuery[2], atRow[1]);
}

} // namespace
} // namespace kalvex::test
