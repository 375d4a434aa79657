#pragma once
// The decoder editors against a simulated installation: a fresh configuration folder whose
// settings name the simulator's line, every window created as at start-up, an editor opened
// as Go! opens it, read out, saved and closed the way the installer does it.

#include "Abre_Editor.h"
#include "Enrutado.h"
#include "InstallationTest.h"
#include "Modelos.h"
#include "UF_Decoder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace kalvex::test {

class EditorTest : public InstallationTest {
protected:
    // Picks the model in the main window's list and presses Go!.
    TF_Decoder* Go(int referencia) {
        auto* list = main->findChild<QComboBox*>(QStringLiteral("C1"));
        list->setCurrentIndex(list->findText(QString::number(referencia), Qt::MatchStartsWith));
        QTest::mouseClick(main->findChild<QPushButton*>(QStringLiteral("B_Go")), Qt::LeftButton);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* editor = qobject_cast<TF_Decoder*>(w);
                editor && editor->isVisible() &&
                editor->Label14->text().startsWith(QString::number(referencia)))
                return editor;
        ADD_FAILURE() << "no editor for " << referencia;
        return nullptr;
    }
    // What Go! does to the editor, without the main window: a fresh count, shown, and the
    // model's routing code.
    static TF_Decoder* Open(TF_Decoder* editor) {
        return Abre_Editor(*Modelo_Por_Referencia(editor->Referencia()));
    }
    // The open editor read out, the timer's reads done (they end with field `last` filled;
    // 0: the model makes none), and the log emptied: nothing but what the test does next is
    // on it.
    TF_Decoder* Ready(TF_Decoder* editor, const std::string& decoder, int last = 0) {
        ReadOut(decoder);
        if (last > 0) {
            EXPECT_TRUE(WaitUntil([&] { return !Edit(editor, last)->text().isEmpty(); }))
                << decoder;
        }
        sim->ClearLog();
        return editor;
    }

    static QLineEdit* Edit(QWidget* editor, int n) {
        return editor->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n));
    }
    static QPushButton* Button(QWidget* editor, const char* name) {
        return editor->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    static QStringList Texts(QWidget* editor, int from, int to) {
        QStringList out;
        for (int n = from; n <= to; ++n)
            out << Edit(editor, n)->text();
        return out;
    }
    static void Type(QWidget* editor, const QStringList& values) {
        for (int k = 0; k < values.size(); ++k)
            Edit(editor, k + 1)->setText(values[k]);
    }
    void Save(QWidget* editor) { QTest::mouseClick(Button(editor, "B_Save"), Qt::LeftButton); }
    // Clicks Close and waits until the simulator has all the closing frames (each written
    // twice), so none of them lands in the log of what the test does next, nor in a read-out
    // started next.
    void Close(QWidget* editor, int frames = 2) {
        auto closing = [this] {
            const auto sent = Sent();
            return std::count_if(sent.begin(), sent.end(),
                                 [](const std::string& f) { return f.rfind("50 ", 0) == 0; });
        };
        const auto before = closing();
        // The relays editor's Close button is spelled B_CLose.
        QPushButton* close = Button(editor, "B_Close");
        QTest::mouseClick(close ? close : Button(editor, "B_CLose"), Qt::LeftButton);
        EXPECT_TRUE(WaitUntil([&] { return closing() >= before + frames; }));
    }

    // Whatever the Save's outcome, its button and the normal cursor come back.
    static void ExpectRestored(QWidget* editor) {
        EXPECT_TRUE(Button(editor, "B_Save")->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }

    // Frames sent without awaiting a reply are on the log once the simulator has read them.
    std::vector<std::string> SentAtLeast(size_t count) {
        WaitUntil([&] { return Sent().size() >= count; });
        return Sent();
    }
    QStringList DialogNames() const {
        QStringList out;
        for (const auto& d : dialogs->Dialogs())
            out << d.name;
        return out;
    }
    QString LastMessage() const {
        return dialogs->Dialogs().empty() ? QString() : dialogs->Dialogs().back().text;
    }
};

} // namespace kalvex::test
