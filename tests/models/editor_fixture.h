#pragma once
// The real program windows against a simulated installation: a fresh configuration folder
// whose settings name the simulator's line, every window created as at start-up, Go! pressed
// on the main window.

#include "InstallationTest.h"
#include "UF_Decoder.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace kalvex::test {

class EditorTest : public InstallationTest {
protected:
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
    // Closes the editor and waits for its closing frames, so that they cannot reach a read-out
    // started next.
    void Close(QWidget* editor) {
        sim->ClearLog();
        editor->close();
        SentAtLeast(2);
    }
    void Save(QWidget* editor) { QTest::mouseClick(Button(editor, "B_Save"), Qt::LeftButton); }

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
    // A whole read-out of the decoder, up to the acknowledgement of its identification frame.
    void ReadOut(const std::string& decoder) {
        sim->ClearLog();
        sim->PressButton(decoder);
        ASSERT_TRUE(WaitUntil([&] {
            const auto sent = Sent();
            return !sent.empty() && sent.back().rfind("20 40", 0) == 0;
        })) << Trace();
    }
};

} // namespace kalvex::test
