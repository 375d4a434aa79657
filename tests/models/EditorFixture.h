#pragma once
// The real program windows against a simulated installation: a fresh configuration folder
// whose settings name the simulator's line, every window created as at start-up, Go! pressed
// on the main window.

#include "BusSimulator.h"
#include "DECODER2.h"
#include "F_Principal.h"
#include "ModalWatcher.h"
#include "PtyPair.h"
#include "TAplicacion.h"
#include "TIniFile.h"
#include "UF_Decoder.h"
#include "Ventanas.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace kalvex::test {

class EditorTest : public ::testing::Test {
protected:
    // Decoders are named by their section; their index is their place in the text.
    void Start(const std::string& installation) {
        ASSERT_TRUE(config.isValid());
        qputenv("KALVEX_CONFIG_DIR", config.path().toLocal8Bit());
        sim = std::make_unique<kalvex::sim::BusSimulator>(kalvex::sim::ParseInstallation(installation, "t"));
        const QString link = config.filePath(QStringLiteral("tty"));
        sim->Start(link.toStdString());
        TIniFile ini(config.filePath(QStringLiteral("KALVEX.INI")));
        ini.WriteString(QStringLiteral("General"), QStringLiteral("Sys_Port"), link);
        ini.WriteString(QStringLiteral("General"), QStringLiteral("Idioma"), QStringLiteral("ENGLISH"));
        dialogs = std::make_unique<ModalWatcher>([this](QWidget* w) {
            if (inspect)
                inspect(w);
        });
        Crea_Ventanas();
        main = Ventanas().F_Princ;
        ASSERT_TRUE(main->Decod1->Connected());
    }

    void TearDown() override {
        Destruye_Ventanas();
        dialogs.reset();
        sim.reset();
        qunsetenv("KALVEX_CONFIG_DIR");
    }

    TF_Decoder* Go(int referencia) {
        auto* list = main->findChild<QComboBox*>(QStringLiteral("C1"));
        list->setCurrentIndex(list->findText(QString::number(referencia), Qt::MatchStartsWith));
        QTest::mouseClick(main->findChild<QPushButton*>(QStringLiteral("B_Go")), Qt::LeftButton);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* editor = qobject_cast<TF_Decoder*>(w);
                editor && editor->isVisible() && editor->Label14->text().startsWith(QString::number(referencia)))
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

    // The frames the program has written, in order, as "B0 00 34 12".
    std::vector<std::string> Sent() const {
        std::vector<std::string> out;
        for (const auto& e : sim->Log())
            if (e.direction == kalvex::sim::Direction::FromProgram)
                out.push_back(kalvex::sim::ToHex(e.frame));
        return out;
    }
    std::string Trace() const {
        std::string out;
        for (const auto& e : sim->Log())
            out += (e.direction == kalvex::sim::Direction::FromProgram ? "<- " : "-> ") + kalvex::sim::ToHex(e.frame) + "\n";
        return out;
    }
    // Frames sent without awaiting a reply are on the log once the simulator has read them.
    std::vector<std::string> SentAtLeast(size_t count) {
        WaitUntil([&] { return Sent().size() >= count; });
        return Sent();
    }
    bool WaitDialog(const QString& name) {
        return WaitUntil([&] { return dialogs->Saw(name); });
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

    QTemporaryDir config;
    std::unique_ptr<kalvex::sim::BusSimulator> sim;
    std::unique_ptr<ModalWatcher> dialogs;
    std::function<void(QWidget*)> inspect;
    TF_Princ* main = nullptr;
};

} // namespace kalvex::test
