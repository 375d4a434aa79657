// Codes the New column would share with another decoder of the installation: per space, by
// overlap for the Torvik ranges, never with the editor's own decoder, and how a clash reads.

#include "RecordFixture.h"
#include "Redaccion_Choque.h"

namespace kalvex::test {
namespace {

using Clashes = RecordTest;

TEST_F(Clashes, SameCodeInTheSameSpaceOfAnotherDecoder) {
    using E = TEspacio_Codigo;
    struct Caso {
        const char* que;
        TCodigo_Registro grabado;
        TCodigo_Registro nuevo;
        bool choque;
    } casos[] = {
        {"call codes", Codigo(E::Llamada, 0x1234, 0x1234, "output 1"),
         Codigo(E::Llamada, 0x1234, 0x1234, "output 2"), true},
        {"other call code", Codigo(E::Llamada, 0x1234, 0x1234, "output 1"),
         Codigo(E::Llamada, 0x1235, 0x1235, "output 2"), false},
        {"same value, other space", Codigo(E::Llamada, 0x12, 0x12, "output 1"),
         Codigo(E::Panel, 0x12, 0x12, "panel"), false},
        {"panel", Codigo(E::Panel, 0x3, 0x3, "panel"), Codigo(E::Panel, 0x3, 0x3, "panel"), true},
        {"sensor", Codigo(E::Sensor, 0xA101, 0xA101, "sensor 1"),
         Codigo(E::Sensor, 0xA101, 0xA101, "sensor 4"), true},
        {"relay", Codigo(E::Rele, 0x7, 0x7, "relay 1"), Codigo(E::Rele, 0x7, 0x7, "relay 2"), true},
        {"6786 address", Codigo(E::Direccion_6786, 0x45, 0x45, "address"),
         Codigo(E::Direccion_6786, 0x45, 0x45, "address"), true},
        {"digitizer, other block", Codigo(E::Digitalizador, 0x0501, 0x0501, "panel 5, block 1"),
         Codigo(E::Digitalizador, 0x0502, 0x0502, "panel 5, block 2"), false},
        {"6734 overlap", Codigo(E::Rango_6734, 0x0100, 0x0199, "range"),
         Codigo(E::Rango_6734, 0x0150, 0x0250, "range"), true},
        {"6734 shared end", Codigo(E::Rango_6734, 0x0100, 0x0199, "range"),
         Codigo(E::Rango_6734, 0x0199, 0x0300, "range"), true},
        {"6734 inside", Codigo(E::Rango_6734, 0x0100, 0x0999, "range"),
         Codigo(E::Rango_6734, 0x0500, 0x0500, "range"), true},
        {"6734 apart", Codigo(E::Rango_6734, 0x0100, 0x0199, "range"),
         Codigo(E::Rango_6734, 0x0200, 0x0299, "range"), false},
    };
    for (const Caso& c : casos) {
        auto base = Abre(QString::fromLatin1(c.que) + ".kalvex");
        base->Lectura("COM1", Config(6746, {Valor("Edit1", "a")}, {c.grabado}));
        // Another decoder, being saved from another editor.
        EXPECT_EQ(base->Choques(Config(6747, {}, {c.nuevo})).size(), c.choque ? 1 : 0) << c.que;
    }
}

TEST_F(Clashes, NeverWithTheDecoderTheEditorShows) {
    auto base = Abre();
    const TConfiguracion leida = Config(6746, {Valor("Edit1", "a")}, {Llamada(0x1234)});
    base->Lectura("COM1", leida);
    EXPECT_TRUE(base->Choques(leida).isEmpty());
    base->Grabacion(Grabacion(leida, {true}));
    EXPECT_TRUE(base->Choques(leida).isEmpty());
    // Closed, the editor's next Save is another decoder: now the code is taken.
    base->Editor_Cerrado(6746);
    EXPECT_EQ(base->Choques(leida).size(), 1);
}

TEST_F(Clashes, SaveIsCheckedAgainstAtOnce) {
    auto base = Abre();
    const TConfiguracion nueva = Config(6758, {Valor("Edit1", "A101")}, {Llamada(0xA101)});
    base->Grabacion(Grabacion(nueva, {true}));
    base->Editor_Cerrado(6758);
    const QStringList choques = base->Choques(nueva);
    ASSERT_EQ(choques.size(), 1);
    EXPECT_TRUE(choques[0].contains(", saved ")) << choques[0].toStdString();
    // In the language the user chose since.
    Idioma = "DEUTSCH";
    EXPECT_TRUE(base->Choques(nueva).value(0).contains(", gespeichert "));
}

TEST_F(Clashes, EachCodeAgainstEachDecoderThatHasIt) {
    auto base = Abre();
    base->Lectura("COM1", Config(6746, {Valor("Edit1", "a")}, {Llamada(0x11), Llamada(0x22)}));
    base->Lectura("COM1", Config(6747, {Valor("Edit1", "b")}, {Llamada(0x11)}));
    EXPECT_EQ(base->Choques(Config(6758, {}, {Llamada(0x11), Llamada(0x22), Llamada(0x33)})).size(),
              3);
}

TEST_F(Clashes, InstallationListsEachSharedCodeOnce) {
    auto base = Abre();
    base->Lectura("COM1", Config(6746, {Valor("Edit1", "a")}, {Llamada(0x11)}));
    base->Lectura("COM1", Config(6747, {Valor("Edit1", "b")}, {Llamada(0x22)}));
    base->Lectura("COM1", Config(6758, {Valor("Edit1", "c")}, {Llamada(0x11)}));
    const TInstantanea i = base->Instantanea();
    ASSERT_EQ(i.Choques.size(), 1);
    EXPECT_EQ(i.Choques[0].Decoder, i.Decoders[0].Id);
    EXPECT_EQ(i.Choques[0].Otro, i.Decoders[2].Id);
    // Both decoders, each where its code is.
    const QString texto = TRedaccion_Choque().Par(i.Choques[0], i, QDate::currentDate());
    EXPECT_TRUE(texto.startsWith("11 — output 1 of the 6746 without a location"))
        << texto.toStdString();
    EXPECT_TRUE(texto.contains(" \u2194 11 — output 1 of the 6758 without a location"))
        << texto.toStdString();
}

// The clash is worded from the record as it is now: a location given a moment ago, the Save
// that set the code after its read-out, the place in the language shown.
TEST_F(Clashes, WordedFromTheRecordAsItIsNow) {
    auto base = Abre();
    const TCodigo_Registro salida_2{TEspacio_Codigo::Llamada, 0x301, 0x301, "0301",
                                    TFrase::De_Clave("GEN_MEN03") + " 2"};
    base->Lectura("COM1", Config(6745, {Valor("Edit1", "a")}, {salida_2}));
    const TConfiguracion otra = Config(6746, {Valor("Edit1", "b")}, {Llamada(0x301)});
    base->Lectura("COM1", otra);
    const qint64 primero = base->Instantanea().Decoders[0].Id;
    ASSERT_TRUE(base->Pon_Ubicacion(primero, "Portal A (street door)"));
    const QString aviso = base->Choques(otra).value(0);
    EXPECT_TRUE(aviso.startsWith("301 — Output 2 of the 6745 “Portal A (street door)”, read "))
        << aviso.toStdString();
    // A Save of the first decoder after its read-out set its codes.
    base->Grabacion(Grabacion(Config(6745, {Valor("Edit1", "c")}, {salida_2}), {true}));
    const TInstantanea i = base->Instantanea();
    ASSERT_EQ(i.Choques.size(), 1);
    Idioma = QStringLiteral("ESPA\u00D1OL");
    const QString par = TRedaccion_Choque().Par(i.Choques[0], i, QDate::currentDate());
    EXPECT_TRUE(par.startsWith(QStringLiteral("301 — Salida 2 del 6745 «Portal A (street door)», "
                                              "guardado ")))
        << par.toStdString();
    EXPECT_TRUE(
        par.contains(QStringLiteral("\u2194 0301 — output 1 del 6746 sin ubicación, leído ")))
        << par.toStdString();
}

TEST_F(Clashes, LineNamesTheCodeThePlaceTheDecoderAndWhen) {
    const QDate hoy(2026, 12, 8);
    const QDateTime hoy_1032(hoy, QTime(10, 32));
    const QDateTime ayer_0915(hoy.addDays(-1), QTime(9, 15));
    TDecoder_Registro otro;
    otro.Referencia = 6746;
    otro.Ubicacion = "Entrance A, floor 3";
    const TCodigo_Registro suyo = Llamada(0x1234, "output 2");
    struct Caso {
        QString idioma;
        QString ubicacion;
        QDateTime leido;
        QDateTime grabado;
        QString linea;
    } casos[] = {
        {"ENGLISH", "Entrance A, floor 3", hoy_1032, ayer_0915,
         "1234 — output 2 of the 6746 “Entrance A, floor 3”, read 10:32"},
        // The Save after the read-out set the code.
        {"ENGLISH", "", ayer_0915, hoy_1032,
         "1234 — output 2 of the 6746 without a location, saved 10:32"},
        {"ENGLISH",
         "  ",
         {},
         ayer_0915,
         "1234 — output 2 of the 6746 without a location, saved 07/12/2026 09:15"},
        {"DEUTSCH",
         "Eingang A",
         ayer_0915,
         {},
         "1234 — output 2 des Decoders 6746 „Eingang A“, gelesen 07.12.2026 09:15"},
        {QStringLiteral("ESPA\u00D1OL"),
         "",
         hoy_1032,
         {},
         QStringLiteral("1234 — output 2 del 6746 sin ubicaci\u00F3n, le\u00EDdo 10:32")},
    };
    for (const Caso& c : casos) {
        Idioma = c.idioma;
        otro.Ubicacion = c.ubicacion;
        otro.Ultima_Lectura = c.leido;
        otro.Ultima_Grabacion = c.grabado;
        EXPECT_EQ(TRedaccion_Choque().Linea(Llamada(0x1234), otro, suyo, hoy), c.linea);
    }
}

} // namespace
} // namespace kalvex::test
