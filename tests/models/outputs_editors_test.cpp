// The sensors (6758) and relays (6759) editors: the read-out with the timer's time and
// setting reads, Save frame by frame, arming, the closing frames, the toggles, the values
// refused before anything is sent, and a decoder that stops answering part of the way.

#include "editor_fixture.h"

#include "UF_Decoder_6758.h"
#include "UF_Decoder_6759.h"

#include <functional>

using namespace kalvex::test;
using kalvex::sim::Fault;
using kalvex::sim::FaultKind;

namespace {

const char* Installation = R"(
[sensors]
model = 6758
codes = A101 A102 - A104 A105 A106 A107 A108
times = 5m 5s - 127m 0s 10s 1m 2s

[relays]
model = 6759
codes = B201 B202 - B204 - - - B208
times = 10 200 0 0 0 0 0 255
states = on off off on off off off 2

[nosensors]
model = 6758

[norelays]
model = 6759
)";

enum { Sensors, Relays, NoSensors, NoRelays };

class OutputsTest : public EditorTest {
protected:
    void SetUp() override {
        Start(Installation);
        sensors = static_cast<TF_Decoder_6758*>(Editor_Por_Referencia(6758));
        relays = static_cast<TF_Decoder_6759*>(Editor_Por_Referencia(6759));
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

    TF_Decoder_6758* sensors = nullptr;
    TF_Decoder_6759* relays = nullptr;
};

TEST_F(OutputsTest, TheTimerReadsTheTimeOfEachCodedOutputIntoBothColumns) {
    const struct {
        TF_Decoder* editor;
        const char* decoder;
        std::vector<std::string> reads;
        QStringList codes, times, settings;
    } cases[] = {
        {sensors,
         "sensors",
         {"60 20 01 A1", "60 22 02 A1", "60 26 04 A1", "60 28 05 A1", "60 2A 06 A1", "60 2C 07 A1",
          "60 2E 08 A1"},
         {"101", "102", "", "104", "105", "106", "107", "108"},
         {"5", "5", "", "127", "0", "10", "1", "2"},
         {"Minutes", "Seconds", "", "Minutes", "Seconds", "Seconds", "Minutes", "Seconds"}},
        {relays,
         "relays",
         {"60 20 01 B2", "60 21 01 B2", "60 22 02 B2", "60 23 02 B2", "60 26 04 B2", "60 27 04 B2",
          "60 2E 08 B2", "60 2F 08 B2"},
         {"201", "202", "", "204", "", "", "", "208"},
         {"10", "200", "", "0", "", "", "", "255"},
         {"ON", "OFF", "", "ON", "", "", "", "OFF"}}, // data byte 2 is not ON
    };
    for (const auto& c : cases) {
        Open(c.editor);
        ReadOut(c.decoder);
        ASSERT_TRUE(WaitUntil([&] { return !Edit(c.editor, 32)->text().isEmpty(); })) << c.decoder;
        const auto sent = Sent();
        EXPECT_EQ(std::vector<std::string>(sent.begin() + 9, sent.end()), c.reads) << c.decoder;
        EXPECT_EQ(Texts(c.editor, 1, 8), c.codes);
        EXPECT_EQ(Texts(c.editor, 9, 16), c.codes);
        EXPECT_EQ(Texts(c.editor, 17, 24), c.times);
        EXPECT_EQ(Texts(c.editor, 25, 32), c.times);
        EXPECT_EQ(Combos(c.editor, 1, 8), c.settings);
        EXPECT_EQ(Combos(c.editor, 9, 16), c.settings);
        EXPECT_EQ(c.editor->focusWidget(), Edit(c.editor, 9));
        Close(c.editor);
    }
}

TEST_F(OutputsTest, ADecoderWithoutCodesIsReportedEmptyAndNotRead) {
    const struct {
        TF_Decoder* editor;
        const char* decoder;
    } cases[] = {{sensors, "nosensors"}, {relays, "norelays"}};
    for (const auto& c : cases) {
        Open(c.editor);
        ReadOut(c.decoder);
        ASSERT_TRUE(WaitDialog("F_Mensa02")) << c.decoder;
        EXPECT_EQ(Sent().size(), 9u); // the acknowledgements only
        EXPECT_EQ(Texts(c.editor, 1, 32), QStringList(32, QString()));
        Close(c.editor);
    }
}

TEST_F(OutputsTest, SaveWritesCodeAndTimeOfEachOutputInOrderThenArmsTheSensors) {
    const QStringList empty4(4, QString());
    const struct {
        TF_Decoder* editor;
        const char* decoder;
        int index;
        QStringList codes, times, settings;
        std::vector<std::string> frames;
        std::vector<std::pair<uint8_t, uint8_t>> memory; // register, byte
    } cases[] = {
        {sensors,
         "sensors",
         Sensors,
         QStringList{"5", "102", "", "999"} + empty4,
         QStringList{"10", "100", "", "0"} + empty4,
         {"Seconds", "Minutes", "", "Minutes"},
         {"B0 00 05 A0", "B0 20 FF 0A", "B0 02 02 A1", "B0 22 FF E4", "B0 04 FF FF", "B0 24 FF FF",
          "B0 06 99 A9", "B0 26 FF 80", "B0 08 FF FF", "B0 28 FF FF", "B0 0A FF FF", "B0 2A FF FF",
          "B0 0C FF FF", "B0 2C FF FF", "B0 0E FF FF", "B0 2E FF FF", "80 01 05 A0", "80 01 02 A1",
          "80 01 99 A9"},
         {{0x00, 0xA0}, {0x01, 0x05}, {0x20, 0x0A}, {0x22, 0xE4}, {0x04, 0xFF}, {0x26, 0x80}}},
        {relays,
         "relays",
         Relays,
         QStringList{"7", "202", "", "15"} + empty4,
         QStringList{"", "255", "", "3"} + empty4,
         {"ON", "OFF", "", "ON"},
         {"B0 00 07 B0", "B0 20 01 00", "B0 02 02 B2", "B0 22 00 FF", "B0 04 FF FF", "B0 24 00 00",
          "B0 06 15 B0", "B0 26 01 03", "B0 08 FF FF", "B0 28 00 00", "B0 0A FF FF", "B0 2A 00 00",
          "B0 0C FF FF", "B0 2C 00 00", "B0 0E FF FF", "B0 2E 00 00"},
         {{0x00, 0xB0},
          {0x01, 0x07},
          {0x20, 0x00},
          {0x21, 0x01},
          {0x22, 0xFF},
          {0x23, 0x00},
          {0x26, 0x03}}},
    };
    for (const auto& c : cases) {
        Ready(Open(c.editor), c.decoder, 32);
        Type8(c.editor, c.codes, c.times, c.settings);
        Save(c.editor);
        EXPECT_EQ(Sent(), c.frames) << c.decoder;
        for (const auto& [reg, byte] : c.memory)
            EXPECT_EQ(sim->Register(c.index, reg), byte) << c.decoder << " register " << int(reg);
        EXPECT_EQ(DialogNames().back(), "F_Mensa05");
        EXPECT_EQ(Texts(c.editor, 9, 12),
                  QStringList({c.codes[0].rightJustified(3, '0'), c.codes[1], "",
                               c.codes[3].rightJustified(3, '0')}));
        ExpectRestored(c.editor);
        Close(c.editor, c.editor == sensors ? 4 : 2);
    }
}

TEST_F(OutputsTest, WhatTheDecoderCouldNotStoreAsTypedIsRefusedBeforeAnythingIsSent) {
    const struct {
        TF_Decoder* editor;
        const char* decoder;
        int field;
        QString typed, message;
    } cases[] = {
        // 7 bits
        {sensors, "sensors", 17, "200",
         "Output 1, time: 200 is more than 127, the longest time this decoder stores"},
        {sensors, "sensors", 18, "128",
         "Output 2, time: 128 is more than 127, the longest time this decoder stores"},
        // 8 bits
        {relays, "relays", 24, "300",
         "Output 8, time: 300 is more than 255, the longest time this decoder stores"},
        {sensors, "sensors", 10, "1 2",
         "Output 2, code: '1 2' is not a number \u2014 type digits only"},
        {relays, "relays", 20, " 5",
         "Output 4, time: ' 5' is not a number \u2014 type digits only"},
    };
    for (const auto& c : cases) {
        Ready(Open(c.editor), c.decoder, 32);
        Edit(c.editor, c.field)->clear();
        QTest::keyClicks(Edit(c.editor, c.field), c.typed);
        ASSERT_EQ(Edit(c.editor, c.field)->text(), c.typed);
        Save(c.editor);
        EXPECT_TRUE(Sent().empty()) << c.typed.toStdString();
        EXPECT_EQ(LastMessage(), c.message);
        EXPECT_EQ(c.editor->focusWidget(), Edit(c.editor, c.field));
        EXPECT_EQ(Edit(c.editor, 9)->text(), Edit(c.editor, 1)->text()); // nothing padded either
        ExpectRestored(c.editor);
        Close(c.editor);
    }
}

TEST_F(OutputsTest, AFailedTimeReadShowsMinusOneWhichSaveRefusesToWrite) {
    sim->SetFault(Fault{FaultKind::Silent, Sensors, 0x22, 3}); // every attempt for output 2
    Ready(Open(sensors), "sensors", 32);
    EXPECT_EQ(Texts(sensors, 17, 19), QStringList({"5", "-1", ""}));
    EXPECT_EQ(Edit(sensors, 26)->text(), "-1");
    EXPECT_EQ(Combo(sensors, 2)->currentText(), "Seconds");
    Save(sensors);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(LastMessage(), "Output 2, time: '-1' is not a number \u2014 type digits only");
    EXPECT_EQ(sensors->focusWidget(), Edit(sensors, 18));
    EXPECT_EQ(sim->Register(Sensors, 0x22), 0x05); // the decoder keeps its time
    ExpectRestored(sensors);
}

TEST_F(OutputsTest, AFailedRelayTimeReadLeavesTheTimeEmpty) {
    sim->SetFault(Fault{FaultKind::Silent, Relays, 0x22, 3});
    Ready(Open(relays), "relays", 32);
    EXPECT_EQ(Texts(relays, 17, 18), QStringList({"10", ""}));
    EXPECT_EQ(Texts(relays, 25, 26), QStringList({"10", ""}));
    EXPECT_EQ(Combo(relays, 2)->currentText(), "OFF");
}

TEST_F(OutputsTest, ADecoderThatStopsAnsweringPartOfTheWayIsWrittenToTheEndButNotArmed) {
    const struct {
        int reg, times;
        std::vector<std::string> tail; // what follows output 3
    } cases[] = {
        // Output 4's code is not taken: its time is not written, the others are, no arming.
        {0x06,
         -1,
         {"B0 06 04 A1", "B0 06 04 A1", "B0 06 04 A1", "B0 08 05 A1", "B0 28 FF 00", "B0 0A 06 A1",
          "B0 2A FF 0A", "B0 0C 07 A1", "B0 2C FF 81", "B0 0E 08 A1", "B0 2E FF 02"}},
        // The first arming frame is not answered: the other sensors are still armed.
        {0x01,
         3,
         {"B0 06 04 A1", "B0 26 FF FF", "B0 08 05 A1", "B0 28 FF 00", "B0 0A 06 A1", "B0 2A FF 0A",
          "B0 0C 07 A1", "B0 2C FF 81", "B0 0E 08 A1", "B0 2E FF 02", "80 01 01 A1", "80 01 01 A1",
          "80 01 01 A1", "80 01 02 A1", "80 01 04 A1", "80 01 05 A1", "80 01 06 A1", "80 01 07 A1",
          "80 01 08 A1"}},
    };
    for (const auto& c : cases) {
        Ready(Open(sensors), "sensors", 32);
        sim->SetFault(Fault{FaultKind::Silent, Sensors, c.reg, c.times});
        Save(sensors); // the read-out as it was
        const auto sent = Sent();
        ASSERT_GE(sent.size(), 6u);
        EXPECT_EQ(std::vector<std::string>(sent.begin() + 6, sent.end()), c.tail) << c.reg;
        EXPECT_EQ(DialogNames().back(), "F_Mensa01");
        ExpectRestored(sensors);
        sim->ClearFaults();
        sim->ClearLog();
        Close(sensors, 4);
        // Part of the Save reached the decoder: it gets the second closing frame too.
        EXPECT_EQ(Sent(), (std::vector<std::string>{"50 20 FF AF", "50 20 FF AF", "50 04 FF AF",
                                                    "50 04 FF AF"}));
    }
}

TEST_F(OutputsTest, TheSecondSensorsClosingFrameFollowsOnlyASaveSinceTheLastReadOut) {
    const std::vector<std::string> one{"50 20 FF AF", "50 20 FF AF"};
    const std::vector<std::string> two{"50 20 FF AF", "50 20 FF AF", "50 04 FF AF", "50 04 FF AF"};
    const struct {
        const char* what;
        std::function<void()> before;
        std::vector<std::string> closing;
    } cases[] = {
        {"no save", [] {}, one},
        {"save", [&] { Save(sensors); }, two},
        {"save, then a new read-out",
         [&] {
             Save(sensors);
             ReadOut("sensors");
             EXPECT_TRUE(WaitUntil([&] { return !Edit(sensors, 32)->text().isEmpty(); }));
         },
         one},
        {"refused save",
         [&] {
             Type8(sensors, {"", "5"});
             Save(sensors);
         },
         one},
    };
    for (const auto& c : cases) {
        Ready(Open(sensors), "sensors", 32);
        c.before();
        sim->ClearLog();
        Close(sensors, static_cast<int>(c.closing.size()));
        EXPECT_EQ(Sent(), c.closing) << c.what;
        EXPECT_EQ(Enrutado().Modelo_Activo, 0);
    }
    Ready(Open(relays), "relays", 32);
    Save(relays);
    sim->ClearLog();
    Close(relays);
    EXPECT_EQ(Sent(), (std::vector<std::string>{"50 20 FF BF", "50 20 FF BF"}));
}

TEST_F(OutputsTest, TheTogglesSetEveryOutputAtOnce) {
    auto same_picture = [](const QIcon& icon, const QLabel* label) {
        return icon.pixmap(16, 16).toImage() == label->pixmap().toImage();
    };
    Open(sensors);
    QPushButton* units = Button(sensors, "B_IniState");
    EXPECT_EQ(units->text(), "M");
    const struct {
        QString unit, caption;
    } steps[] = {{"Seconds", "M"}, {"Minutes", "S"}, {"Seconds", "M"}};
    for (const auto& s : steps) {
        QTest::mouseClick(units, Qt::LeftButton);
        EXPECT_EQ(Combos(sensors, 1, 8), QStringList(8, s.unit));
        EXPECT_EQ(units->text(), s.caption);
        EXPECT_EQ(sensors->focusWidget(), Edit(sensors, 9));
    }
    EXPECT_EQ(Combos(sensors, 9, 16), QStringList(8, QString())); // Current untouched
    QTest::mouseClick(Button(sensors, "BitBtn3"), Qt::LeftButton);
    EXPECT_EQ(Combos(sensors, 1, 8), QStringList(8, QString()));
    EXPECT_EQ(units->text(), "M");

    Open(relays);
    QPushButton* states = Button(relays, "B_IniState");
    const auto* yes = relays->findChild<QLabel*>("I_Yes");
    const auto* no = relays->findChild<QLabel*>("I_No");
    EXPECT_TRUE(same_picture(states->icon(), yes));
    const struct {
        QString state;
        const QLabel* picture;
    } relay_steps[] = {{"ON", no}, {"OFF", yes}, {"ON", no}};
    for (const auto& s : relay_steps) {
        QTest::mouseClick(states, Qt::LeftButton);
        EXPECT_EQ(Combos(relays, 1, 8), QStringList(8, s.state));
        EXPECT_TRUE(same_picture(states->icon(), s.picture)) << s.state.toStdString();
    }
}

TEST_F(OutputsTest, FillConsecutiveCodesStopsAt999AndLeavesTimesAlone) {
    const struct {
        QString first;
        QStringList codes;
    } cases[] = {{"7", {"007", "008", "009", "010", "011", "012", "013", "014"}},
                 {"995", {"995", "996", "997", "998", "999", "", "", ""}}};
    for (TF_Decoder* editor :
         {static_cast<TF_Decoder*>(sensors), static_cast<TF_Decoder*>(relays)}) {
        Open(editor);
        for (const auto& c : cases) {
            Type8(editor, {c.first}, {"9"});
            QTest::mouseClick(Button(editor, "BitBtn1"), Qt::LeftButton);
            EXPECT_EQ(Texts(editor, 9, 16), c.codes);
            EXPECT_EQ(Texts(editor, 17, 18), QStringList({"9", ""}));
        }
        Close(editor);
    }
}

} // namespace
