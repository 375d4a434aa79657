// A decoder's read-out as frames alone: what each frame of a sequence is acknowledged with,
// where its value goes, when the read-out ends and whether it was whole; and how a reply's
// status is judged.

#include "Lectura_Decoder.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace {

// A step of a sequence: a frame from the decoder, or a pause long enough to end a read-out.
struct Paso {
    std::optional<Trama_Dec> trama;
    const char* esperado; // what it did, as Describe words it
};

Paso F(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3, const char* esperado) {
    return {Trama_Dec(b0, b1, b2, b3), esperado};
}
Paso Pausa(const char* esperado) {
    return {std::nullopt, esperado};
}

QString Hex(const Trama_Dec& t) {
    return QStringLiteral("%1%2%3%4")
        .arg(t[0], 2, 16, QLatin1Char('0'))
        .arg(t[1], 2, 16, QLatin1Char('0'))
        .arg(t[2], 2, 16, QLatin1Char('0'))
        .arg(t[3], 2, 16, QLatin1Char('0'))
        .toUpper();
}

// "ack:20003412 value:0 first all watch end cut:2 ident whole other:48 announced"
std::string Describe(const TLectura_Decoder::TPaso& p) {
    QStringList w;
    if (p.Acuse)
        w << "ack:" + Hex(*p.Acuse);
    if (p.Valor >= 0)
        w << QStringLiteral("value:%1").arg(p.Valor);
    if (p.Empieza)
        w << "first";
    if (p.Todos)
        w << "all";
    if (p.Vigilar)
        w << "watch";
    if (p.Fin)
        w << "end";
    if (p.Cortada_Tras >= 0)
        w << QStringLiteral("cut:%1").arg(p.Cortada_Tras);
    if (p.Con_Identificacion)
        w << "ident";
    if (p.Completa)
        w << "whole";
    if (p.Otro_Modelo)
        w << "other:" + QStringLiteral("%1").arg(*p.Otro_Modelo, 2, 16, QLatin1Char('0')).toUpper();
    if (p.Anunciado)
        w << "announced";
    return w.join(' ').toStdString();
}

constexpr TForma_Lectura Cuatro{0x44, 4}; // a four-output call decoder
constexpr TForma_Lectura Uno{0x31, 1};    // the address converter
constexpr TForma_Lectura Anuncios{0, 0};  // the digitizer

struct Caso {
    const char* que;
    TForma_Lectura forma;
    std::vector<Paso> pasos;
    bool cerrar_antes_del_ultimo = false;
};

TEST(ReadOut, EachFrameOfASequenceIsTakenAsTheEditorsTakeIt) {
    const Caso casos[] = {
        {"a whole read-out",
         Cuatro,
         {F(0x00, 0x00, 0x34, 0x12, "ack:20003412 value:0 first watch"),
          F(0x00, 0x00, 0x35, 0x12, "ack:20003512 value:1 watch"),
          F(0x00, 0x00, 0xFF, 0xFF, "ack:2000FFFF value:2 watch"),
          F(0x00, 0x00, 0x07, 0x00, "ack:20000700 value:3 all"),
          F(0x40, 0x44, 0xFF, 0xFF, "ack:2040FFFF end ident whole")}},
        {"a decoder of another model",
         Cuatro,
         {F(0x00, 0, 1, 0, "ack:20000100 value:0 first watch"),
          F(0x00, 0, 2, 0, "ack:20000200 value:1 watch"),
          F(0x00, 0, 3, 0, "ack:20000300 value:2 watch"),
          F(0x00, 0, 4, 0, "ack:20000400 value:3 all"),
          F(0x40, 0x48, 0xFF, 0xFF, "ack:2040FFFF end ident other:48")}},
        {"a pause part of the way, then the button again",
         Cuatro,
         {F(0x00, 0, 1, 0, "ack:20000100 value:0 first watch"),
          F(0x00, 0, 2, 0, "ack:20000200 value:1 watch"), Pausa("end cut:2"),
          F(0x00, 0, 1, 0, "ack:20000100 value:0 first watch")}},
        {"the identification after two of four values",
         Cuatro,
         {F(0x00, 0, 1, 0, "ack:20000100 value:0 first watch"),
          F(0x00, 0, 2, 0, "ack:20000200 value:1 watch"),
          F(0x40, 0x44, 0xFF, 0xFF, "ack:2040FFFF end cut:2 ident")}},
        {"an identification alone", Cuatro, {F(0x40, 0x44, 0xFF, 0xFF, "ack:2040FFFF end ident")}},
        {"a pause after a whole read-out ends nothing more",
         Cuatro,
         {F(0x00, 0, 1, 0, "ack:20000100 value:0 first watch"),
          F(0x00, 0, 2, 0, "ack:20000200 value:1 watch"),
          F(0x00, 0, 3, 0, "ack:20000300 value:2 watch"),
          F(0x00, 0, 4, 0, "ack:20000400 value:3 all"), Pausa("end"),
          F(0x00, 0, 5, 0, "ack:20000500 value:0 first watch")}},
        {"frames that are not a read-out's go unanswered",
         Cuatro,
         {F(0x51, 0x00, 0x00, 0x12, ""), F(0x20, 0x00, 0x34, 0x12, ""),
          F(0x88, 0x88, 0x88, 0x88, "")}},
        {"a one-value model fills its value each time",
         Uno,
         {F(0x00, 0, 0x34, 0x12, "ack:20003412 value:0 first all"),
          F(0x00, 0, 0x35, 0x12, "ack:20003512 value:0 first all"),
          F(0x40, 0x31, 0xFF, 0xFF, "ack:2040FFFF end ident whole")}},
        {"a read-out whose editor was closed does not count",
         Uno,
         {F(0x00, 0, 0x34, 0x12, "ack:20003412 value:0 first all"),
          F(0x40, 0x31, 0xFF, 0xFF, "ack:2040FFFF end ident")},
         true},
        {"the digitizer counts its second announcement",
         Anuncios,
         {F(0x00, 0, 1, 0, ""), F(0x40, 0x44, 0, 0, ""), F(0x53, 0x00, 0x00, 0x12, ""),
          F(0x53, 0x00, 0x00, 0x12, "announced"), F(0x53, 0x00, 0x00, 0x12, ""),
          F(0x53, 0x00, 0x00, 0x12, "announced")}},
    };
    for (const Caso& c : casos) {
        TLectura_Decoder lectura;
        lectura.Empieza(c.forma);
        for (std::size_t i = 0; i < c.pasos.size(); ++i) {
            if (c.cerrar_antes_del_ultimo && i + 1 == c.pasos.size())
                lectura.Cierra();
            const Paso& p = c.pasos[i];
            const auto hecho = p.trama ? lectura.Recibe(*p.trama) : lectura.Pausa();
            EXPECT_EQ(Describe(hecho), p.esperado) << c.que << ", step " << i + 1;
        }
    }
}

TEST(ReadOut, ANewEditorStartsAtTheFirstValueWhereverTheLastOneStopped) {
    TLectura_Decoder lectura;
    lectura.Empieza({0x48, 8});
    for (int i = 0; i < 5; ++i)
        lectura.Recibe(Trama_Dec(0x00, 0, 0, 0));
    EXPECT_EQ(lectura.Salida_Actual(), 5);
    lectura.Empieza(Cuatro);
    EXPECT_EQ(Describe(lectura.Recibe(Trama_Dec(0x00, 0, 1, 0))),
              "ack:20000100 value:0 first watch");
}

TEST(ReadOut, RepliesAreJudgedByTheirRequest) {
    const struct {
        Trama_Dec peticion;
        Trama_Dec respuesta;
        bool aceptada;
    } casos[] = {
        {{0xB0, 0x02, 0x35, 0x12}, {0x20, 0x00, 0x00, 0x00}, true},
        {{0xB0, 0x02, 0x35, 0x12}, {0x21, 0x00, 0x00, 0x00}, false},
        {{0xB0, 0x02, 0x35, 0x12}, Trama_Sin_Respuesta, false},
        {{0x70, 0x01, 0x25, 0x00}, {0x20, 0x44, 0x00, 0x00}, true},
        // A panel's register read: the low nibble of the status is the unit's.
        {{0x63, 0x23, 0x12, 0xFF}, {0x23, 0x05, 0x00, 0x00}, true},
        {{0x63, 0x23, 0x12, 0xFF}, {0x30, 0x05, 0x00, 0x00}, false},
        // A panel's register write echoes the unit, or the new panel number for 0x21.
        {{0xD3, 0x23, 0x07, 0x12}, {0x23, 0x00, 0x00, 0x00}, true},
        {{0xD3, 0x23, 0x07, 0x12}, {0x20, 0x00, 0x00, 0x00}, false},
        {{0xD3, 0x21, 0x05, 0x12}, {0x25, 0x00, 0x00, 0x00}, true},
        {{0xD3, 0x21, 0x05, 0x12}, {0x23, 0x00, 0x00, 0x00}, false},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Respuesta_Aceptada(c.peticion, c.respuesta), c.aceptada)
            << Hex(c.peticion).toStdString() << " -> " << Hex(c.respuesta).toStdString();
}

} // namespace
