// Where a read-out begins and ends, decided from what the line shows: a decoder that stops
// part of the way must not shift the next read-out, and the editor says what happened.

#include "Creacion_Ventanas.h"
#include "Enrutado.h"
#include "F_Principal.h"
#include "Idiomas.h"
#include "ModalWatcher.h"
#include "Modelos.h"
#include "PtyPair.h"
#include "RecordSpy.h"
#include "ScriptedFarEnd.h"
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

using namespace kalvex::test;

namespace {

// The program on a pseudo-terminal whose far end the test plays frame by frame, as a decoder
// that can stop wherever the test wants.
class ReadOutBoundaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config.isValid());
        qputenv("KALVEX_CONFIG_DIR", config.path().toLocal8Bit());
        TIniFile ini(config.filePath(QStringLiteral("KALVEX.INI")));
        ini.WriteString(QStringLiteral("General"), QStringLiteral("Sys_Port"), pty.SlavePath());
        ini.WriteString(QStringLiteral("General"), QStringLiteral("Idioma"),
                        QStringLiteral("ENGLISH"));
        Crea_Ventanas();
        auto* list = Ventanas().F_Princ->findChild<QComboBox*>(QStringLiteral("C1"));
        list->setCurrentIndex(list->findText(QStringLiteral("6745"), Qt::MatchStartsWith));
        QTest::mouseClick(Ventanas().F_Princ->findChild<QPushButton*>(QStringLiteral("B_Go")),
                          Qt::LeftButton);
        editor = Editor_Por_Referencia(6745);
        ASSERT_TRUE(editor->isVisible());
        Instala_Registro(&record);
    }
    void TearDown() override {
        Instala_Registro(nullptr);
        Destruye_Ventanas();
        Libera_Fichero_Idiomas();
        qunsetenv("KALVEX_CONFIG_DIR");
    }

    // Sends one frame as the decoder does and waits for its acknowledgement.
    void Frame(const QByteArray& frame) {
        const int before = far.Requests();
        far.Send(frame);
        ASSERT_TRUE(WaitUntil([&] { return far.Requests() > before; }));
        // Acknowledged as 20 b0 b2 b3.
        EXPECT_EQ(far.Received().right(4), QByteArray("\x20", 1) + frame.left(1) + frame.right(2));
    }
    void Data(int i, uint16_t value) {
        const char frame[] = {0x00, static_cast<char>(i), static_cast<char>(value & 0xFF),
                              static_cast<char>(value >> 8)};
        Frame(QByteArray(frame, 4));
    }
    void Identification() { Frame(QByteArray("\x40\x44\xFF\xFF", 4)); }
    void FullReadOut(uint16_t first) {
        for (int i = 0; i < 4; ++i)
            Data(i, static_cast<uint16_t>(first + i));
        Identification();
    }

    QStringList Column(bool nuevo) const {
        QStringList out;
        for (int k = 1; k <= 4; ++k)
            out << editor->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(nuevo ? k : 4 + k))
                       ->text();
        return out;
    }
    // The editor's state line, which says when a read-out was cut short.
    QLabel* Notice() const { return editor->findChild<QLabel*>(QStringLiteral("Estado_Editor")); }
    bool Incomplete() const { return Notice()->text().startsWith("Read-out incomplete"); }

    QTemporaryDir config;
    PtyPair pty;
    ScriptedFarEnd far{pty};
    ModalWatcher dialogs;
    TF_Decoder* editor = nullptr;
    RecordSpy record;
    const QStringList Full{"1234", "1235", "1236", "1237"};
};

TEST_F(ReadOutBoundaryTest, ADecoderThatFallsSilentPartOfTheWayIsReportedAndTheNextReadOutIsWhole) {
    Data(0, 0x1234);
    Data(1, 0x1235);
    // No third frame: after the pause the editor says the read-out is incomplete.
    ASSERT_TRUE(WaitUntil([&] { return Incomplete(); }));
    EXPECT_EQ(Notice()->text(),
              "Read-out incomplete: 2 of 4 values \u2014 press the programming button again");
    EXPECT_EQ(Enrutado().Lectura.Salida_Actual(), 0);

    // The installer presses the button again: the values land on their own outputs.
    FullReadOut(0x1234);
    EXPECT_EQ(Column(true), Full);
    EXPECT_EQ(Column(false), Full);
    EXPECT_FALSE(Incomplete());
    EXPECT_TRUE(dialogs.Dialogs().empty());
}

TEST_F(ReadOutBoundaryTest, WhileNoWholeReadOutCameEveryNewValueIsMarkedAsChanging) {
    auto marked = [&] {
        int n = 0;
        for (int k = 1; k <= 4; ++k)
            n += editor->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(k))->font().bold();
        return n;
    };
    // Save writes every value, and what the decoder holds is not known.
    EXPECT_EQ(marked(), 4);
    Data(0, 0x1234);
    Data(1, 0x1235);
    ASSERT_TRUE(WaitUntil([&] { return Incomplete(); }));
    EXPECT_EQ(marked(), 4);
    FullReadOut(0x1234);
    EXPECT_EQ(marked(), 0);
}

TEST_F(ReadOutBoundaryTest, AnIdentificationFrameBeforeTheLastValueEndsTheReadOut) {
    // One frame lost on the way: three values, then the identification frame.
    Data(0, 0x1234);
    Data(1, 0x1235);
    Data(2, 0x1236);
    Identification();
    EXPECT_TRUE(Incomplete());
    EXPECT_TRUE(Notice()->text().startsWith("Read-out incomplete: 3 of 4 values"));
    // Only a whole read-out is a decoder's configuration for the installation record.
    EXPECT_TRUE(record.lecturas.isEmpty());
    FullReadOut(0x1234);
    EXPECT_EQ(Column(true), Full);
    EXPECT_FALSE(Incomplete());
    ASSERT_TRUE(WaitUntil([&] { return record.lecturas.size() == 1; }));
    EXPECT_EQ(record.lecturas[0].Valores.size(), 4);
}

TEST_F(ReadOutBoundaryTest, AWholeReadOutIsNotReportedAndTwoInARowStartEachAtTheFirstValue) {
    FullReadOut(0x1234);
    FullReadOut(0x4321);
    EXPECT_EQ(Column(true), (QStringList{"4321", "4322", "4323", "4324"}));
    // Past the pause, a complete read-out has nothing to report.
    QTest::qWait(500);
    EXPECT_FALSE(Incomplete());
    EXPECT_EQ(Enrutado().Lectura.Salida_Actual(), 0);
}

TEST_F(ReadOutBoundaryTest, ClosingTheEditorLeavesNoReportForLater) {
    Data(0, 0x1234);
    editor->close();
    QTest::qWait(500);
    EXPECT_FALSE(Incomplete());
    // Opened again, the editor starts clean.
    editor->show();
    EXPECT_FALSE(Incomplete());
}

} // namespace
