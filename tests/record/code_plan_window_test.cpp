#include "Exporta_Plan.h"
#include "F_Plan_Codigos.h"
#include "ModalWatcher.h"
#include "Textos_Plan.h"
#include "record_fixture.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace kalvex::test {
namespace {

TDecoder_Registro WithCodes(qint64 id, int referencia, const QString& ubicacion,
                            QList<TCodigo_Registro> codigos) {
    TDecoder_Registro d = Decoder(id, referencia, ubicacion, {});
    d.Codigos = std::move(codigos);
    return d;
}

// The rows as "cell|cell|…", a space's heading unindented and its rows under it with "  ".
QStringList Rows(QTreeWidget* tree) {
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* space = tree->topLevelItem(i);
        out << space->text(0);
        for (int r = 0; r < space->childCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < tree->columnCount(); ++c)
                cells << space->child(r)->text(c);
            while (!cells.isEmpty() && cells.last().isEmpty())
                cells.removeLast();
            out << "  " + cells.join('|');
        }
    }
    return out;
}

QStringList Selected(QTreeWidget* tree) {
    QStringList out;
    for (const QTreeWidgetItem* r : tree->selectedItems())
        out << r->text(0);
    return out;
}

TEST(CodePlanWindow, ShowsCodesClashesAndFreeRunsSearchesAndExports) {
    Texts english;
    FakeSource source;
    source.snapshot.Decoders = {
        WithCodes(1, 6745, "Entrance A",
                  {{TEspacio_Codigo::Llamada, 0x1234, 0x1234, "1234", "Output 1"},
                   {TEspacio_Codigo::Llamada, 0x1240, 0x1240, "1240", "Output 2"}}),
        WithCodes(2, 6746, "Hall",
                  {{TEspacio_Codigo::Llamada, 0x1234, 0x1234, "1234", "Output 3"}}),
        WithCodes(3, 6759, "", {{TEspacio_Codigo::Rele, 0x123, 0x123, "123", "Output 1"}}),
    };
    ModalWatcher boxes;
    TF_Plan_Codigos window;
    window.Pon_Fuente(&source);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* plan = window.findChild<QTreeWidget*>("Plan");
    auto* find = window.findChild<QLineEdit*>("Buscar");
    auto* count = window.findChild<QLineEdit*>("Cuantos");
    auto* said = window.findChild<QLabel*>("Resultado");

    EXPECT_EQ(
        Rows(plan),
        (QStringList{
            "Audio codes \u2014 in use: 3, free: 9998, clashes: 2",
            "  0000\u20131233 free (1234)",
            "  1234|6745 - Audio Decoder 4|Output 1|Entrance A|CLASH with 6746 Hall (Output 3)",
            "  1234|6746 - Audio Decoder 8|Output 3|Hall|CLASH with 6745 Entrance A (Output 1)",
            "  1235\u20131239 free (5)",
            "  1240|6745 - Audio Decoder 4|Output 2|Entrance A",
            "  1241\u20139999 free (8759)",
            "Relay codes \u2014 in use: 1, free: 999, clashes: 0",
            "  000\u2013122 free (123)",
            "  123|6759 - Relays Decoder 8|Output 1",
            "  124\u2013999 free (876)",
        }));
    // A clash is red, and said in words as well.
    const QTreeWidgetItem* clash = plan->topLevelItem(0)->child(1);
    const QTreeWidgetItem* plain = plan->topLevelItem(0)->child(4);
    for (int c = 0; c < plan->columnCount(); ++c)
        EXPECT_EQ(clash->foreground(c).color(), QColor(Rojo_Choque)) << c;
    EXPECT_NE(plain->foreground(0).color(), QColor(Rojo_Choque));

    // Every control has a name a screen reader says; Tab goes from the search on in order.
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->focusPolicy() & Qt::TabFocus && w->isVisible()) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
    }
    QStringList tabs;
    for (QWidget* w = find; tabs.size() < 8; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus && w->isVisible())
            tabs << w->objectName();
    EXPECT_EQ(tabs, (QStringList{"Buscar", "B_Buscar", "Espacio", "Cuantos", "B_Libres", "Plan",
                                 "B_Csv", "B_Close"}));

    // Enter searches: the codes holding it, else its free run.
    auto search = [&](const char* typed) {
        find->setFocus();
        find->clear();
        QTest::keyClicks(find, typed);
        QTest::keyClick(find, Qt::Key_Return);
    };
    search("1234");
    EXPECT_EQ(said->text(), "1234 is in use (rows selected below: 2).");
    EXPECT_EQ(Selected(plan), (QStringList{"1234", "1234"}));
    search("1237");
    EXPECT_EQ(said->text(), "1237 is free.");
    EXPECT_EQ(Selected(plan), QStringList{"1235\u20131239 free (5)"});
    search("12x4");
    ASSERT_EQ(boxes.Dialogs().size(), 1u);
    EXPECT_TRUE(boxes.Dialogs()[0].text.startsWith("Find code: '12x4' is not a code."));
    EXPECT_EQ(window.focusWidget(), find);    // where the typing goes on
    EXPECT_EQ(said->text(), "1237 is free."); // a refused search changes nothing

    // Next free codes: N typed, Enter asks.
    auto next = [&](const char* typed) {
        count->setFocus();
        count->clear();
        QTest::keyClicks(count, typed);
        QTest::keyClick(count, Qt::Key_Return);
    };
    next("1235");
    EXPECT_EQ(said->text(),
              "Audio codes \u2014 the first 1235 free codes in a row: 1241\u20132475");
    EXPECT_EQ(Selected(plan), QStringList{"1241\u20139999 free (8759)"});
    next("8760");
    EXPECT_EQ(said->text(), "Audio codes \u2014 no run of 8760 free codes in a row.");
    for (const char* bad : {"0", "10001", "-3"})
        next(bad);
    ASSERT_EQ(boxes.Dialogs().size(), 4u);
    EXPECT_EQ(boxes.Dialogs()[1].text, "How many: '0' is not a whole number from 1 to 10000. "
                                       "Type how many free codes in a row you need.");
    EXPECT_EQ(window.focusWidget(), count);

    // The record changes while shown: the plan follows, and its last answer is given again.
    next("5");
    source.snapshot.Decoders << WithCodes(
        4, 6745, "Roof", {{TEspacio_Codigo::Llamada, 0x0002, 0x0002, "0002", "Output 1"}});
    window.Actualiza();
    EXPECT_EQ(plan->topLevelItem(0)->child(0)->text(0), "0000\u20130001 free (2)");
    EXPECT_EQ(said->text(), "Audio codes \u2014 the first 5 free codes in a row: 0003\u20130007");

    // The CSV holds what the window shows, one row per code and per free run.
    QTemporaryDir dir;
    ASSERT_TRUE(window.Guarda_Csv(dir.filePath("plan.csv")));
    const QString csv = QString::fromUtf8(ReadAll(dir.filePath("plan.csv")));
    EXPECT_EQ(ReadAll(dir.filePath("plan.csv")),
              Texto_Csv_Plan(TPlan_Codigos(source.snapshot.Decoders)));
    EXPECT_TRUE(csv.startsWith("\uFEFFCode space,Code,Decoder,Model,Output,Location,Clash,Free "
                               "codes\r\n"));
    EXPECT_TRUE(csv.contains("\r\nAudio codes,1234,1,6745 - Audio Decoder 4,Output 1,Entrance A,"
                             "CLASH with 6746 Hall (Output 3),\r\n"));
    EXPECT_TRUE(csv.contains("\r\nAudio codes,1235\u20131239,,,,,,5\r\n"));
    EXPECT_TRUE(csv.contains("\r\nRelay codes,123,3,6759 - Relays Decoder 8,Output 1,,,\r\n"));

    // Without a record: nothing shown, nothing to export.
    window.Pon_Fuente(nullptr);
    EXPECT_EQ(plan->topLevelItemCount(), 0);
    EXPECT_EQ(said->text(), "");
    EXPECT_FALSE(window.findChild<QPushButton*>("B_Csv")->isEnabled());
}

} // namespace
} // namespace kalvex::test
