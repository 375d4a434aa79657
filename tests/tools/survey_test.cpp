// The survey against a simulated installation: its frames on the line for one decoder of each
// family, what the installation record is told (the same configuration the model's editor
// gives after the same read-out), decoders that answer the query but give no read-out, the
// byte three models share, codes served by a decoder already read, and taking a survey up
// again after Stop.

#include "../models/editor_fixture.h"
#include "Configuracion.h"
#include "RecordSpy.h"
#include "Sondeo.h"

#include <QPushButton>

using namespace kalvex::test;

namespace {

const char* Families = R"(
[call]
model = 6746
serves = 0301
codes = 0301 0302 0303 0304 0305 0306 0307 0308

[panel]
model = 6763
serves = D101
codes = D101 D102 - -

[sensors]
model = 6758
serves = A101
codes = A101 A102 - - - - - -
times = 10s 2m - - - - - -

[relays]
model = 6759
serves = B201
codes = B201 B202 - - - - - -
times = 5 200 0 0 0 0 0 0
states = on off off off off off off off

[range]
model = 6734
serves = 0700
start = 0700
end = 0799
entrance = yes

[converter]
model = 6786
serves = 1234
address = 1234

[empty]
model = 6722
serves = 0900
codes = - - - - - - - -

[norange]
model = 6734
serves = 0950
start = -
end = -
entrance = yes
)";

struct Case {
    const char* decoder;
    int referencia;
    TRango_Sondeo rango;
    std::vector<std::string> frames; // what the program writes, in order
};

// Query, the request twice, one acknowledgement per frame, the reads of the outputs with a
// code (sensors, relays), the closing frame twice.
const Case Cases[] = {
    {"call",
     6746,
     {TTipo_Codigo::Audio, 301, 301},
     {"70 01 01 03", "50 10 01 03", "50 10 01 03", "20 00 01 03", "20 00 02 03", "20 00 03 03",
      "20 00 04 03", "20 00 05 03", "20 00 06 03", "20 00 07 03", "20 00 08 03", "20 40 FF FF",
      "50 20 FF 9F", "50 20 FF 9F"}},
    {"panel",
     6763,
     {TTipo_Codigo::D, 101, 101},
     {"70 01 01 D1", "50 10 01 D1", "50 10 01 D1", "20 00 01 D1", "20 00 02 D1", "20 00 FF FF",
      "20 00 FF FF", "20 40 FF FF", "50 20 FF DF", "50 20 FF DF"}},
    {"sensors",
     6758,
     {TTipo_Codigo::A, 101, 101},
     {"70 01 01 A1", "50 10 01 A1", "50 10 01 A1", "20 00 01 A1", "20 00 02 A1", "20 00 FF FF",
      "20 00 FF FF", "20 00 FF FF", "20 00 FF FF", "20 00 FF FF", "20 00 FF FF", "20 40 FF FF",
      "60 20 01 A1", "60 22 02 A1", "50 20 FF AF", "50 20 FF AF"}},
    {"relays",
     6759,
     {TTipo_Codigo::B, 201, 201},
     {"70 01 01 B2", "50 10 01 B2", "50 10 01 B2", "20 00 01 B2", "20 00 02 B2", "20 00 FF FF",
      "20 00 FF FF", "20 00 FF FF", "20 00 FF FF", "20 00 FF FF", "20 00 FF FF", "20 40 FF FF",
      "60 20 01 B2", "60 21 01 B2", "60 22 02 B2", "60 23 02 B2", "50 20 FF BF", "50 20 FF BF"}},
    {"range",
     6734,
     {TTipo_Codigo::Audio, 700, 700},
     {"70 01 00 07", "50 10 00 07", "50 10 00 07", "20 00 00 07", "20 00 99 07", "20 00 FF FF",
      "20 00 FF FF", "20 40 FF FF", "50 20 FF 9F", "50 20 FF 9F"}},
    {"converter",
     6786,
     {TTipo_Codigo::Audio, 1234, 1234},
     {"70 01 34 12", "50 10 34 12", "50 10 34 12", "20 00 34 12", "20 40 FF FF", "50 20 FF FF",
      "50 20 FF FF"}},
};

std::string Texto(const TConfiguracion& c) {
    std::string out = std::to_string(c.Referencia) + (c.Vacia ? " empty\n" : "\n");
    for (const TValor_Registro& v : c.Valores)
        out += (v.Campo + " | " + v.Lugar + " | " + v.Texto + "\n").toStdString();
    for (const TCodigo_Registro& k : c.Codigos)
        out += (QStringLiteral("%1 %2-%3 ").arg(int(k.Espacio)).arg(k.Desde).arg(k.Hasta) +
                k.Texto + " | " + k.Lugar + "\n")
                   .toStdString();
    return out;
}

class SurveyTest : public EditorTest {
protected:
    // The program's start installs its own record; the spy takes its place.
    void Begin(const char* installation) {
        Start(installation);
        Instala_Registro(&espia);
    }
    void TearDown() override {
        Instala_Registro(nullptr);
        EditorTest::TearDown();
    }
    // Waits until the frames written without a reply (the closing frames) are on the log.
    std::vector<std::string> SentAfter(size_t count) {
        EXPECT_TRUE(sim->WaitForFrames(kalvex::sim::Direction::FromProgram, count,
                                       std::chrono::milliseconds(2000)));
        return Sent();
    }

    // The record knows the range decoders of the installation as 6734s, which their
    // identification byte alone does not tell.
    void KnowsRanges() {
        espia.modelos_codigo = [](const TCodigo_Registro& c) {
            return c.Espacio == TEspacio_Codigo::Rango_6734 ? QList<int>{6734} : QList<int>{};
        };
    }
    size_t SentCount(const std::string& frame) const {
        const auto sent = Sent();
        return size_t(std::count(sent.begin(), sent.end(), frame));
    }

    RecordSpy espia;
};

TEST_F(SurveyTest, EachFamilysFramesByteForByteAndWhatTheRecordIsTold) {
    Begin(Families);
    KnowsRanges();
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.decoder);
        sim->ClearLog();
        espia.sondeos.clear();
        TSondeo sondeo;
        sondeo.Empieza({c.rango}, TRitmo_Sondeo::Minucioso);
        EXPECT_EQ(SentAfter(c.frames.size()), c.frames) << Trace();
        EXPECT_FALSE(sim->InProgramming(sim->FindDecoder(c.decoder)));
        ASSERT_EQ(espia.sondeos.size(), 1);
        EXPECT_EQ(espia.sondeos[0].Leida.Referencia, c.referencia);
        EXPECT_EQ(espia.sondeos[0].Puerto, Sys_Port);
        EXPECT_TRUE(espia.sondeos[0].Posibles.isEmpty());
        EXPECT_TRUE(espia.problemas.isEmpty());
        // Ended whole: nothing left to resume.
        EXPECT_TRUE(espia.avance.isEmpty());
        EXPECT_FALSE(sondeo.Activo());
    }
}

// The configuration the survey gives the record is the one the model's editor gives after a
// read-out of the same decoder, value for value (an empty decoder and a range decoder without
// a range included).
TEST_F(SurveyTest, TheRecordGetsWhatTheEditorWouldRecord) {
    Begin(Families);
    KnowsRanges();
    struct Pareja {
        const char* decoder;
        TRango_Sondeo rango;
    };
    const Pareja parejas[] = {
        {"call", {TTipo_Codigo::Audio, 301, 301}},
        {"panel", {TTipo_Codigo::D, 101, 101}},
        {"sensors", {TTipo_Codigo::A, 101, 101}},
        {"relays", {TTipo_Codigo::B, 201, 201}},
        {"range", {TTipo_Codigo::Audio, 700, 700}},
        {"converter", {TTipo_Codigo::Audio, 1234, 1234}},
        {"empty", {TTipo_Codigo::Audio, 900, 900}},
        {"norange", {TTipo_Codigo::Audio, 950, 950}},
    };
    for (const Pareja& p : parejas) {
        SCOPED_TRACE(p.decoder);
        const int referencia = sim->DecoderModel(sim->FindDecoder(p.decoder));
        espia.lecturas.clear();
        espia.sondeos.clear();
        TF_Decoder* editor = Go(referencia);
        ReadOut(p.decoder);
        ASSERT_TRUE(WaitUntil([&] { return !espia.lecturas.isEmpty(); }));
        Close(editor);
        TSondeo sondeo;
        sondeo.Empieza({p.rango}, TRitmo_Sondeo::Rapido);
        ASSERT_EQ(espia.sondeos.size(), 1);
        EXPECT_EQ(Texto(espia.sondeos[0].Leida), Texto(espia.lecturas.last()));
    }
}

const char* Faulty = R"(
[first]
model = 6745
serves = 0100 0101 0102
codes = 0100 0101 0102 -

[ignores]
model = 6746
serves = 0103
codes = 0103 - - - - - - -
quirk = ignores-requests

[mute]
model = 6721
serves = 0104
codes = 0104 - - -
quirk = no-read-out

[halfway]
model = 6722
serves = 0105
codes = 0105 0106 0107 0108 - - - -
quirk = stops-halfway

[noisy]
model = 6747
serves = 0106
codes = 0106 - - -
quirk = noisy
)";

TEST_F(SurveyTest, DecodersThatGiveNoReadOutAreProblemsAndNothingHalfIsRecorded) {
    Begin(Faulty);
    TSondeo sondeo;
    sondeo.Empieza({{TTipo_Codigo::Audio, 100, 107}}, TRitmo_Sondeo::Minucioso);

    QStringList problemas;
    for (const TProblema_Sondeo& p : espia.problemas)
        problemas << p.Codigo + QLatin1Char(' ') + QString::number(int(p.Fallo));
    EXPECT_EQ(problemas, (QStringList{"0103 0", "0104 0", "0105 1"}));
    // The shared byte: four data frames fit all three models, and the record knows none of
    // them here.
    ASSERT_EQ(espia.sondeos.size(), 2) << Trace();
    EXPECT_EQ(espia.sondeos[0].Leida.Referencia, 0);
    EXPECT_EQ(espia.sondeos[0].Posibles, (QList<int>{6713, 6734, 6745}));
    EXPECT_TRUE(espia.sondeos[0].Leida.Codigos.isEmpty());
    // The noisy one answered its second attempt.
    EXPECT_EQ(espia.sondeos[1].Leida.Referencia, 6747);
    // 0101 and 0102 are in the first decoder's read-out: not queried, served by it.
    EXPECT_EQ(SentCount("70 01 01 01"), 0u);
    EXPECT_EQ(SentCount("70 01 02 01"), 0u);
    EXPECT_EQ(sondeo.Servidos(), 2);
    EXPECT_EQ(sondeo.Problemas(), 3);
    EXPECT_EQ(sondeo.Silenciosos(), 1); // 0107
    // Every decoder asked for a read-out was closed, the one in programming mode included.
    EXPECT_EQ(SentCount("50 20 FF 9F"), 2u * 5);
    for (const char* d : {"first", "ignores", "mute", "halfway", "noisy"})
        EXPECT_FALSE(sim->InProgramming(sim->FindDecoder(d))) << d;
}

TEST_F(SurveyTest, TheRecordSettlesTheSharedByteAndAQuickSurveyTriesSilentCodesAgain) {
    Begin(Faulty);
    espia.modelos_codigo = [](const TCodigo_Registro& c) {
        return c.Desde == 0x100 && c.Espacio == TEspacio_Codigo::Llamada ? QList<int>{6713}
                                                                         : QList<int>{};
    };
    TSondeo sondeo;
    sondeo.Empieza({{TTipo_Codigo::Audio, 100, 100}, {TTipo_Codigo::Audio, 106, 106}},
                   TRitmo_Sondeo::Rapido);
    ASSERT_EQ(espia.sondeos.size(), 1);
    EXPECT_EQ(espia.sondeos[0].Leida.Referencia, 6713);
    EXPECT_TRUE(espia.sondeos[0].Posibles.isEmpty());
    // One attempt: the noisy decoder's garbled answer leaves its code silent...
    EXPECT_EQ(SentCount("70 01 06 01"), 1u);
    EXPECT_EQ(sondeo.Silenciosos(), 1);
    // ... until the silent codes are tried again with the other two attempts.
    sondeo.Repite_Silenciosos();
    EXPECT_EQ(SentCount("70 01 06 01"), 2u);
    ASSERT_EQ(espia.sondeos.size(), 2);
    EXPECT_EQ(espia.sondeos[1].Leida.Referencia, 6747);
    EXPECT_EQ(sondeo.Silenciosos(), 0);
}

TEST_F(SurveyTest, StoppedItIsTakenUpAgainWhereItStopped) {
    Begin(Families);
    const QList<TRango_Sondeo> rangos{{TTipo_Codigo::Audio, 298, 303}};
    {
        TSondeo sondeo;
        // Stop while the third code (0300, silent) waits for its reply.
        During stop([&] { return sondeo.Hechos() == 2; }, [&] { sondeo.Para(); });
        sondeo.Empieza(rangos, TRitmo_Sondeo::Minucioso);
        EXPECT_EQ(sondeo.Hechos(), 2);
        EXPECT_FALSE(sondeo.Activo());
        EXPECT_FALSE(espia.avance.isEmpty());
        // The code under way was stopped between its attempts.
        EXPECT_LT(SentCount("70 01 00 03"), 3u);
    }
    sim->ClearLog();
    TSondeo otra;
    ASSERT_TRUE(otra.Reanuda());
    // From 0300 on: the codes done are not queried again.
    EXPECT_EQ(Sent().front(), "70 01 00 03");
    EXPECT_EQ(SentCount("70 01 98 02"), 0u);
    EXPECT_EQ(otra.Hechos(), 6);
    EXPECT_EQ(otra.Decoders(), 1);
    EXPECT_EQ(otra.Servidos(), 2); // 0302 and 0303, in the read-out of 0301
    EXPECT_TRUE(espia.avance.isEmpty());
    EXPECT_FALSE(TSondeo().Reanuda());
}

TEST_F(SurveyTest, WhileItRunsNoEditorOpensAndItTakesTheDecodersFrames) {
    Begin(Families);
    TSondeo sondeo;
    bool abierto = true;
    During intento([&] { return sondeo.Activo(); },
                   [&] { abierto = Abre_Editor(*Modelo_Por_Referencia(6746)) != nullptr; });
    sondeo.Empieza({{TTipo_Codigo::Audio, 300, 301}}, TRitmo_Sondeo::Minucioso);
    EXPECT_FALSE(abierto);
    EXPECT_FALSE(Enrutado().Sondeo);
    EXPECT_EQ(Enrutado().Modelo_Activo, 0);
}

} // namespace
