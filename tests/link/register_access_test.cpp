#include "Conversion.h"
#include "UComunicaciones.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

namespace {

// Records every request as it would go on the wire and answers from a queue of replies
// (silence when the queue is empty).
class RecordingLink : public TDecoderLink {
public:
    struct Sent {
        Trama_Dec wire;
        bool waitReply;
    };
    Trama_Dec Transact(uint8_t c, uint8_t a, uint8_t hi, uint8_t lo, bool wait) override {
        sent.push_back({Trama_Dec(c, a, lo, hi), wait});
        if (replies.empty())
            return Trama_Sin_Respuesta;
        Trama_Dec r = replies.front();
        replies.pop_front();
        return r;
    }
    Trama_Dec Transact_Intentos(uint8_t c, uint8_t a, uint8_t hi, uint8_t lo, int) override {
        return Transact(c, a, hi, lo, true);
    }
    void Envia_Trama(const Trama_Dec& f) override { direct.push_back(f); }

    std::vector<Sent> sent;
    std::vector<Trama_Dec> direct;
    std::deque<Trama_Dec> replies;
};

class RegisterAccessTest : public ::testing::Test {
protected:
    void SetUp() override { Asigna_Enlace(&link); }
    void TearDown() override { Asigna_Enlace(nullptr); }
    RecordingLink link;
};

constexpr Trama_Dec Ack{0x20, 0, 0, 0};
constexpr Trama_Dec Nak{0x21, 0, 0, 0};

struct WriteCase {
    const char* name;
    std::function<bool()> call;
    Trama_Dec wire;
};

TEST_F(RegisterAccessTest, WritesPutTheExactFramesOnTheLineAndAcceptOnlyStatus20) {
    const WriteCase cases[] = {
        {"output code",
         [] { return Escribe_Codigo_Salida("1", "234", 2); },
         {0xB0, 0x02, 0x34, 0x12}},
        {"output code empty",
         [] { return Escribe_Codigo_Salida("1", "", 2); },
         {0xB0, 0x02, 0xFF, 0xFF}},
        {"relay code",
         [] { return Escribe_Codigo_Salida("B", "007", 8); },
         {0xB0, 0x0E, 0x07, 0xB0}},
        {"output out of range",
         [] { return Escribe_Codigo_Salida("A", "123", 9); },
         {0xB0, 0x00, 0x23, 0xA1}},
        {"base code", [] { return Escribe_Codigo_Base("1234"); }, {0xB0, 0x00, 0x34, 0x12}},
        {"base code empty", [] { return Escribe_Codigo_Base(""); }, {0xB0, 0x00, 0x00, 0x8F}},
        {"time seconds",
         [] { return Escribe_Tiempo_Salida("10", "SEGUNDOS", 1); },
         {0xB0, 0x20, 0xFF, 0x0A}},
        {"time minutes",
         [] { return Escribe_Tiempo_Salida("10", "MINUTOS", 1); },
         {0xB0, 0x20, 0xFF, 0x8A}},
        {"time other unit",
         [] { return Escribe_Tiempo_Salida("3", "Seconds", 4); },
         {0xB0, 0x26, 0xFF, 0x83}},
        {"time empty",
         [] { return Escribe_Tiempo_Salida("", "SEGUNDOS", 1); },
         {0xB0, 0x20, 0xFF, 0xFF}},
        {"time low 8 bits",
         [] { return Escribe_Tiempo_Salida("300", "SEGUNDOS", 2); },
         {0xB0, 0x22, 0xFF, 0x2C}},
        {"mode on", [] { return Escribe_Modo_Salida("5", "ON", 8); }, {0xB0, 0x2E, 0x01, 0x05}},
        {"mode off", [] { return Escribe_Modo_Salida("5", "OFF", 8); }, {0xB0, 0x2E, 0x00, 0x05}},
        {"mode empty", [] { return Escribe_Modo_Salida("", "", 3); }, {0xB0, 0x24, 0x00, 0x00}},
        {"arm", [] { return Arma_Dispositivo("A012"); }, {0x80, 0x01, 0x12, 0xA0}},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (Trama_Dec reply : {Ack, Nak, Trama_Sin_Respuesta}) {
            link.sent.clear();
            link.replies = {reply};
            EXPECT_EQ(c.call(), reply == Ack);
            ASSERT_EQ(link.sent.size(), 1u);
            EXPECT_EQ(link.sent[0].wire, c.wire);
            EXPECT_TRUE(link.sent[0].waitReply);
        }
    }
}

TEST_F(RegisterAccessTest, ABadNumberRaisesTheConversionErrorBeforeAnythingIsSent) {
    for (const char* text : {"1 0", " ", "x", "12 "}) {
        EXPECT_THROW(Escribe_Tiempo_Salida(text, "SEGUNDOS", 1), EConvertError) << text;
        EXPECT_THROW(Escribe_Modo_Salida(text, "ON", 1), EConvertError) << text;
    }
    EXPECT_TRUE(link.sent.empty());
    try {
        StrToInt("12 4");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'12 4' is not a valid integer value");
    }
}

TEST_F(RegisterAccessTest, ReadsSendTheirRequestAndReturnTheDecimalValue) {
    link.replies = {Trama_Dec(0x20, 0x05, 0x99, 0x99)};
    EXPECT_EQ(Lee_Valor_Codigo(1, "12AB"), "5");
    EXPECT_EQ(link.sent.back().wire, Trama_Dec(0x60, 0x23, 0xAB, 0x12));

    link.replies = {Trama_Dec(0x20, 200, 0, 0)};
    EXPECT_EQ(Lee_Valor_Salida(3, "123", "B"), "200");
    EXPECT_EQ(link.sent.back().wire, Trama_Dec(0x60, 0x24, 0x23, 0xB1));

    link.replies = {Trama_Dec(0x88, 0x01, 0, 0)}; // the state read ignores the status
    EXPECT_EQ(Lee_Estado_Salida(3, "123", "B"), "ON");
    EXPECT_EQ(link.sent.back().wire, Trama_Dec(0x60, 0x25, 0x23, 0xB1));
    link.replies = {Trama_Dec(0x20, 0x02, 0, 0)};
    EXPECT_EQ(Lee_Estado_Salida(3, "123", "B"), "OFF");

    // Not acknowledged: empty text.
    link.replies = {Trama_Dec(0x21, 0x05, 0, 0)};
    EXPECT_EQ(Lee_Valor_Codigo(1, "12AB"), "");
    EXPECT_EQ(Lee_Valor_Salida(3, "123", "B"), ""); // silent
}

TEST_F(RegisterAccessTest, ReadsOfCodesOfTheWrongLengthSendNothing) {
    EXPECT_EQ(Lee_Valor_Codigo(1, "123"), "");
    EXPECT_EQ(Lee_Valor_Codigo(1, "12345"), "");
    EXPECT_EQ(Lee_Valor_Salida(1, "12", "A"), "");
    EXPECT_EQ(Lee_Valor_Salida(1, "1234", "A"), "");
    EXPECT_EQ(Lee_Estado_Salida(1, "", "B"), "OFF");
    EXPECT_TRUE(link.sent.empty());
}

TEST_F(RegisterAccessTest, RegisterReadAcceptsAnyStatusOfTheTwentiesRow) {
    for (auto [status, expected] :
         {std::pair{0x25, 0x42}, {0x20, 0x42}, {0x2F, 0x42}, {0x30, 0}, {0x88, 0}}) {
        link.replies = {Trama_Dec(uint8_t(status), 0x42, 0, 0)};
        EXPECT_EQ(Lee_Registro(0x23, 5, 0x40), expected) << status;
        EXPECT_EQ(link.sent.back().wire, Trama_Dec(0x65, 0x23, 0xFF, 0x40));
    }
    link.replies = {Ack};
    Lee_Registro(0x10, 0x17, 0x01); // only the low nibble selects the unit
    EXPECT_EQ(link.sent.back().wire, Trama_Dec(0x67, 0x10, 0xFF, 0x01));
}

TEST_F(RegisterAccessTest, RegisterWriteChecksTheEcho) {
    struct Case {
        uint8_t address, data, nibble;
        int extra;
        uint8_t status;
        bool ok;
    } cases[] = {
        {0x21, 0x07, 5, 0x40, 0x27, true},  {0x21, 0x07, 5, 0x40, 0x25, false},
        {0x22, 0x07, 5, 0x40, 0x25, true},  {0x22, 0x07, 5, 0x40, 0x27, false},
        {0x22, 0x07, 5, 0x40, 0x20, false}, {0x23, 0x10, 0, 0x140, 0x20, true},
    };
    for (const Case& c : cases) {
        link.replies = {Trama_Dec(c.status, 0, 0, 0)};
        EXPECT_EQ(Escribe_Registro(c.address, c.data, c.nibble, c.extra), c.ok);
        EXPECT_EQ(link.sent.back().wire,
                  Trama_Dec(uint8_t(0xD0 | c.nibble), c.address, c.data, uint8_t(c.extra)));
    }
}

TEST_F(RegisterAccessTest, DeviceQueryReturnsTheIdentificationByteInEveryCase) {
    uint8_t data = 0;
    link.replies = {Trama_Dec(0x20, 0x48, 0, 0)};
    EXPECT_TRUE(Interroga_Dispositivo("0025", data));
    EXPECT_EQ(data, 0x48);
    EXPECT_EQ(link.sent.back().wire, Trama_Dec(0x70, 0x01, 0x25, 0x00));
    EXPECT_FALSE(Interroga_Dispositivo("D012", data));
    EXPECT_EQ(data, 0x88);
    EXPECT_EQ(link.sent.back().wire, Trama_Dec(0x70, 0x01, 0x12, 0xD0));
}

TEST_F(RegisterAccessTest, FramesWithoutReply) {
    Solicita_Programacion("0025");
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.sent[0].wire, Trama_Dec(0x50, 0x10, 0x25, 0x00));
    EXPECT_FALSE(link.sent[0].waitReply);

    Envia_Trama_Directa(0x00, 0x12, 0x34);
    ASSERT_EQ(link.direct.size(), 1u);
    EXPECT_EQ(link.direct[0], Trama_Dec(0x20, 0x00, 0x12, 0x34));
    EXPECT_EQ(link.sent.size(), 1u); // not a transaction
}

TEST(ConversionTest, HexPairsAndZeroFill) {
    struct {
        const char* text;
        uint8_t value;
    } hex[] = {{"3f", 0x3F}, {"3F", 0x3F}, {"00", 0},   {"FF", 0xFF}, {"a0", 0xA0},
               {" 4", 0x04}, {"4 ", 0x40}, {"9", 0x90}, {"", 0}};
    for (const auto& c : hex)
        EXPECT_EQ(Hex_A_Byte(c.text), c.value) << c.text;

    EXPECT_EQ(Rellena_Ceros_Iz("7", 3), "007");
    EXPECT_EQ(Rellena_Ceros_Iz("", 4), "0000");
    EXPECT_EQ(Rellena_Ceros_Iz("12345", 4), "12345");
    EXPECT_EQ(Rellena_Ceros_Iz("123", 3), "123");
}

TEST(ConversionTest, StrToIntAcceptsWhatTheFrameworkAccepts) {
    EXPECT_EQ(StrToInt("10"), 10);
    EXPECT_EQ(StrToInt("  10"), 10);
    EXPECT_EQ(StrToInt("-3"), -3);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0099"), 99);
    for (const char* bad : {"", "  ", "1 2", "10 ", "1x", "-", "$", "99999999999"})
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
}

TEST(IdentificationTest, NamesAndAddresses) {
    EXPECT_EQ(Nombre_Referencia(0x44), "Ref. 6745 / Ref. 6734 / Ref. 6713");
    EXPECT_EQ(Nombre_Referencia(0x18), "Ref. 6758");
    EXPECT_EQ(Nombre_Referencia(0x31), "Ref. 6786");
    EXPECT_EQ(Nombre_Referencia(0x00), QString::fromUtf8("\xC2\xBF?"));
    EXPECT_EQ(Direccion_Salida(1), 0x00);
    EXPECT_EQ(Direccion_Salida(8), 0x0E);
    EXPECT_EQ(Direccion_Salida(0), 0x00);
    EXPECT_EQ(Direccion_Salida(9), 0x00);
    EXPECT_EQ(Direccion_Ajuste(4), 0x26);
    EXPECT_EQ(Direccion_Ajuste(-1), 0x20);
}

} // namespace
