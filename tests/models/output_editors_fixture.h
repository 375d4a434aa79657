#pragma once
// The sensors, relays and Torvik editors against a simulated installation.

#include "editor_fixture.h"
#include "Enrutado.h"

#include "UF_Decoder_6734.h"
#include "UF_Decoder_6758.h"
#include "UF_Decoder_6759.h"

#include <QComboBox>

namespace kalvex::test {

class Editors2Test : public EditorTest {
protected:
    // Routing codes of the three editors while they are open.
    static constexpr uint8_t Codigo_6759 = 1, Codigo_6734 = 8, Codigo_6758 = 9;

    void Start(const std::string& installation) {
        EditorTest::Start(installation);
        TVentanas& v = Ventanas();
        sensors = v.F_Decoder_6758;
        relays = v.F_Decoder_6759;
        torvik = v.F_Decoder_6734;
    }

    // As Go! does: routing code, a fresh count, the list entry on the model label, shown.
    TF_Decoder* Open(TF_Decoder* editor, uint8_t codigo) {
        Enrutado().Salida_Actual = 0;
        editor->Label14->setText(editor->Label14->text());
        editor->show();
        Enrutado().Modelo_Activo = codigo;
        return editor;
    }
    // Opened, read out, the timer's reads done (they end with the time field `last` filled;
    // 0: no reads), and the log emptied.
    TF_Decoder* Ready(TF_Decoder* editor, uint8_t codigo, const std::string& decoder, int last) {
        Open(editor, codigo);
        ReadOut(decoder);
        if (last > 0) {
            EXPECT_TRUE(WaitUntil([&] { return !Edit(editor, last)->text().isEmpty(); }))
                << decoder;
        }
        sim->ClearLog();
        return editor;
    }
    // Closes the editor and waits until the simulator has all its closing frames (each
    // written twice), so none of them lands in the log of what the test does next.
    void Close(QWidget* editor, int frames = 2) {
        auto closing = [this] {
            const auto sent = Sent();
            return std::count_if(sent.begin(), sent.end(),
                                 [](const std::string& f) { return f.rfind("50 ", 0) == 0; });
        };
        const auto before = closing();
        // The relays editor's Close button is spelled B_CLose.
        auto* close = editor->findChild<QPushButton*>(QStringLiteral("B_Close"));
        QTest::mouseClick(close ? close : Button(editor, "B_CLose"), Qt::LeftButton);
        EXPECT_TRUE(WaitUntil([&] { return closing() >= before + frames; }));
    }

    static QComboBox* Combo(QWidget* editor, int n) {
        return editor->findChild<QComboBox*>(QStringLiteral("ComboBoxEx%1").arg(n));
    }
    static QStringList Combos(QWidget* editor, int from, int to) {
        QStringList out;
        for (int n = from; n <= to; ++n)
            out << Combo(editor, n)->currentText();
        return out;
    }
    // New codes, New times and New settings of the eight outputs.
    static void Type8(QWidget* editor, const QStringList& codes, const QStringList& times = {},
                      const QStringList& settings = {}) {
        for (int n = 1; n <= 8; ++n) {
            Edit(editor, 8 + n)->setText(codes.value(n - 1));
            Edit(editor, 16 + n)->setText(times.value(n - 1));
            Combo(editor, n)->setCurrentIndex(Combo(editor, n)->findText(settings.value(n - 1)));
        }
    }
    void ExpectRestored(QWidget* editor) {
        EXPECT_TRUE(Button(editor, "B_Save")->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    QString LastMessage() const {
        return dialogs->Dialogs().empty() ? QString() : dialogs->Dialogs().back().text;
    }

    TF_Decoder_6758* sensors = nullptr;
    TF_Decoder_6759* relays = nullptr;
    TF_Decoder_6734* torvik = nullptr;
};

} // namespace kalvex::test
