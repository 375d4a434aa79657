// What a survey leaves in the record, through the interface the survey calls: decoders read
// out without an editor, a model left undecided and settled later, codes that gave no
// read-out, and how far the survey got — all there again when the file is opened next.

#include "Presenta_Registro.h"
#include "PtyPair.h" // WaitUntil
#include "RecordFixture.h"
#include "Redaccion_Choque.h"
#include "SmallDisk.h"
#include "Valores_Leidos.h"

namespace kalvex::test {
namespace {

using SurveyRecord = RecordTest;

const TConfiguracion kRele = Config(6759, {Valor("Edit1", "B123"), Valor("Edit2", "On")},
                                    {Codigo(TEspacio_Codigo::Rele, 0xB123, 0xB123, "relay 1")});
// A decoder whose identification byte three models share.
const TConfiguracion kIndeciso = Config(0, {Valor("Edit5", "0301")}, {Llamada(0x301)});
const QList<int> kPosibles{6745, 6713, 6734};

TEST_F(SurveyRecord, DecodersProblemsAndProgressAreStoredAndOpenAgain) {
    {
        auto base = Abre();
        TRegistro& registro = *base;
        registro.Sondeo({"/dev/ttyUSB0", kRele, {}});
        registro.Sondeo({"/dev/ttyUSB0", kIndeciso, kPosibles});
        registro.Sondeo(
            {"/dev/ttyUSB0", Config(0, {Valor("Edit5", "0302")}, {Llamada(0x302)}), kPosibles});
        registro.Problema_Sondeo({"0123", 0x45, TFallo_Sondeo::Incompleta, "/dev/ttyUSB0"});
        registro.Pon_Avance_Sondeo("call 0100-0199: 0150");
        EXPECT_EQ(registro.Avance_Sondeo(), "call 0100-0199: 0150");
        EXPECT_EQ(registro.Codigos_Conocidos().size(), 3);
        EXPECT_EQ(registro.Modelos_Codigo(Llamada(0x301)), kPosibles);
        // Found again by the same survey, or by a read-out: the same decoders.
        registro.Sondeo({"/dev/ttyUSB0", kIndeciso, kPosibles});
        registro.Lectura("/dev/ttyUSB0", kRele);
        const TInstantanea i = base->Instantanea();
        ASSERT_EQ(i.Decoders.size(), 3);
        EXPECT_EQ(TTextos_Registro().Modelo(i.Decoders[1]), "6745, 6713 or 6734");
        // Settled among its possible models, never as another one.
        EXPECT_FALSE(base->Decide_Modelo(i.Decoders[1].Id, 6746));
        EXPECT_TRUE(base->Decide_Modelo(i.Decoders[1].Id, 6713));
        EXPECT_FALSE(base->Decide_Modelo(i.Decoders[1].Id, 6745));
    }
    auto base = Abre();
    EXPECT_EQ(base->Avance_Sondeo(), "call 0100-0199: 0150");
    const TInstantanea i = base->Instantanea();
    ASSERT_EQ(i.Decoders.size(), 3);
    EXPECT_EQ(i.Decoders[0].Referencia, 6759);
    EXPECT_FALSE(i.Decoders[0].Sondeado); // read out since
    EXPECT_EQ(i.Decoders[1].Referencia, 6713);
    EXPECT_TRUE(i.Decoders[1].Posibles.isEmpty());
    EXPECT_TRUE(i.Decoders[1].Sondeado);
    EXPECT_EQ(i.Decoders[2].Referencia, 0);
    EXPECT_EQ(i.Decoders[2].Posibles, kPosibles);
    const QList<TEvento_Registro> h = base->Historia(i.Decoders[1].Id);
    ASSERT_EQ(h.size(), 2);
    EXPECT_EQ(h[0].Tipo, TEvento_Registro::TTipo::Sondeo);
    EXPECT_EQ(h[0].Puerto, "/dev/ttyUSB0");
    EXPECT_TRUE(h[0].Momento.isValid());
    ASSERT_EQ(i.Problemas.size(), 1);
    const TProblema_Sondeo& p = i.Problemas[0].Problema;
    EXPECT_EQ(p.Codigo, "0123");
    EXPECT_EQ(p.Identificacion, 0x45);
    EXPECT_EQ(p.Fallo, TFallo_Sondeo::Incompleta);
    EXPECT_EQ(p.Puerto, "/dev/ttyUSB0");
    EXPECT_TRUE(i.Problemas[0].Momento.isValid());
    // A code it holds says how and when it was set.
    const QString choque = base->Choques(Config(6746, {}, {Llamada(0x301)})).value(0);
    EXPECT_TRUE(choque.contains(" of the 6713 without a location, surveyed "))
        << choque.toStdString();
}

// A surveyed decoder whose model and codes match one the record has is that decoder, even
// when some other value changed since.
TEST_F(SurveyRecord, ASurveyedDecoderWithTheCodesOfARecordedOneIsThatOne) {
    auto base = Abre();
    base->Lectura("COM1", kRele);
    base->Editor_Cerrado(6759);
    TConfiguracion cambiado = kRele;
    cambiado.Valores[1].Texto = TFrase::De_Clave("GEN_MEN104");
    base->Sondeo({"COM1", cambiado, {}});
    const TInstantanea i = base->Instantanea();
    ASSERT_EQ(i.Decoders.size(), 1);
    EXPECT_TRUE(i.Choques.isEmpty());
    EXPECT_TRUE(i.Decoders[0].Configuracion[1].Texto == TFrase::De_Clave("GEN_MEN104"));
}

// What a full disk did not let the record store is not shown: the survey's decoder, problem and
// progress go back to what the file holds.
TEST_F(SurveyRecord, WhatCouldNotBeStoredIsNotShown) {
    SmallDisk disco(Ruta("disk"), 512);
    if (!disco.Mounted())
        GTEST_SKIP() << "needs a filesystem of its own (root)";
    auto base = Abre("disk/site.kalvex");
    QStringList fallos;
    base->Al_Fallar([&](const QString& causa) { fallos << causa; });
    base->Pon_Avance_Sondeo("0100");
    base->Sondeo({"COM1", kRele, {}});
    ASSERT_EQ(base->Historia(1).size(), 1);

    disco.Fill();
    base->Sondeo({"COM1", kIndeciso, kPosibles});
    base->Problema_Sondeo({"0123", 0x45, TFallo_Sondeo::Sin_Lectura, "COM1"});
    base->Pon_Avance_Sondeo("0124");
    ASSERT_TRUE(WaitUntil([&] { return !fallos.isEmpty(); }));
    ASSERT_TRUE(WaitUntil([&] { return base->Avance_Sondeo() == "0100"; }));
    const TInstantanea i = base->Instantanea();
    EXPECT_EQ(i.Decoders.size(), 1);
    EXPECT_TRUE(i.Problemas.isEmpty());
    EXPECT_TRUE(base->Modelos_Codigo(Llamada(0x301)).isEmpty());
}

// The survey records a decoder it cannot tell from the others sharing its byte as a call
// decoder shows it, with no codes; settled, it has that model's values (its history too) and
// answers its codes, in the file too, and the next survey or read-out finds it again.
TEST_F(SurveyRecord, ASettledModelHasItsOwnValuesAndAnswersItsCodes) {
    const QList<Trama_Dec> frames{Trama_Dec(0, 0, 0x00, 0x01), Trama_Dec(0, 0, 0x99, 0x01),
                                  Trama_Dec(0, 0, 0xFF, 0xFF), Trama_Dec(0, 0, 0xFF, 0xFF)};
    TConfiguracion undecided = Configuracion_Leida(*Modelo_Por_Referencia(6745), frames);
    undecided.Referencia = 0;
    undecided.Codigos.clear();
    struct Case {
        int model;
        TCodigo_Registro clashing; // a code another decoder would share with it
    } cases[] = {
        {6745, Llamada(0x199)},
        {6713, Llamada(0x100)},
        {6734, Codigo(TEspacio_Codigo::Rango_6734, 0x150, 0x150, "range")},
    };
    for (const Case& c : cases) {
        const QString file = QStringLiteral("%1.kalvex").arg(c.model);
        const TConfiguracion read = Configuracion_Leida(*Modelo_Por_Referencia(c.model), frames);
        {
            auto base = Abre(file);
            base->Sondeo({"COM1", undecided, kPosibles});
            const qint64 id = base->Instantanea().Decoders.value(0).Id;
            EXPECT_TRUE(base->Codigos_Conocidos().isEmpty()) << c.model;
            ASSERT_TRUE(base->Decide_Modelo(id, c.model)) << c.model;
            EXPECT_EQ(base->Choques(Config(6746, {}, {c.clashing})).size(), 1) << c.model;
        }
        auto base = Abre(file);
        base->Sondeo({"COM1", read, {}});
        base->Lectura("COM1", read);
        const TInstantanea i = base->Instantanea();
        ASSERT_EQ(i.Decoders.size(), 1) << c.model;
        EXPECT_EQ(i.Decoders[0].Referencia, c.model);
        EXPECT_EQ(i.Decoders[0].Configuracion, read.Valores) << c.model;
        // The survey in its history reads as the model too.
        EXPECT_EQ(base->Historia(i.Decoders[0].Id).value(0).Valores, read.Valores) << c.model;
        ASSERT_EQ(i.Decoders[0].Codigos.size(), read.Codigos.size()) << c.model;
        for (qsizetype k = 0; k < read.Codigos.size(); ++k) {
            EXPECT_EQ(i.Decoders[0].Codigos[k].Espacio, read.Codigos[k].Espacio) << c.model;
            EXPECT_EQ(i.Decoders[0].Codigos[k].Desde, read.Codigos[k].Desde) << c.model;
            EXPECT_EQ(i.Decoders[0].Codigos[k].Hasta, read.Codigos[k].Hasta) << c.model;
        }
    }
}

} // namespace
} // namespace kalvex::test
