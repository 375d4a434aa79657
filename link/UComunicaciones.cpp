#include "UComunicaciones.h"

#include "Conversion.h"
#include "Datos_Modelos.h"
#include "Lectura_Decoder.h"

#include <QStringList>

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>

namespace {

TDecoderLink* enlace = nullptr;

int Nibble(QChar c) {
    const char16_t u = c.toUpper().unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return 0; // only a blank typed inside a number gets here
}

Trama_Dec Pide(uint8_t command, uint8_t address, uint8_t high, uint8_t low) {
    return Enlace().Transact(command, address, high, low, true);
}

bool Acepta(uint8_t command, uint8_t address, uint8_t high, uint8_t low) {
    return Aceptada_Simple(Pide(command, address, high, low));
}

uint8_t Byte_Decimal(const QString& number) {
    return static_cast<uint8_t>(StrToInt(number));
}

// Four-character device code: characters 1-2 are the high byte, 3-4 the low byte.
uint8_t Alto(const QString& code) {
    return Hex_A_Byte(code.mid(0, 2));
}
uint8_t Bajo(const QString& code) {
    return Hex_A_Byte(code.mid(2, 2));
}

// Three-digit code completed by the caller's prefix character.
uint8_t Alto(const QString& prefix, const QString& code) {
    return Hex_A_Byte(prefix + code.mid(0, 1));
}
uint8_t Bajo3(const QString& code) {
    return Hex_A_Byte(code.mid(1, 2));
}

QString Lee_Salida(uint8_t address, const QString& code, const QString& prefix, bool& aceptado) {
    Trama_Dec r = Pide(0x60, address, Alto(prefix, code), Bajo3(code));
    aceptado = Aceptada_Simple(r);
    return QString::number(r[1]);
}

} // namespace

void Asigna_Enlace(TDecoderLink* link) {
    enlace = link;
}

TDecoderLink& Enlace() {
    if (!enlace)
        throw std::logic_error("no decoder link");
    return *enlace;
}

uint8_t Hex_A_Byte(const QString& text) {
    int high = text.size() > 0 ? Nibble(text[0]) : 0;
    int low = text.size() > 1 ? Nibble(text[1]) : 0;
    return static_cast<uint8_t>(high << 4 | low);
}

QString Rellena_Ceros_Iz(const QString& text, int width) {
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char('0')) + text;
}

QString Lee_Valor_Codigo(int n, const QString& code) {
    if (code.size() != 4)
        return {};
    Trama_Dec r = Pide(0x60, static_cast<uint8_t>(n + 34), Alto(code), Bajo(code));
    return Aceptada_Simple(r) ? QString::number(r[1]) : QString();
}

QString Lee_Valor_Salida(int n, const QString& code, const QString& prefix) {
    if (code.size() != 3)
        return {};
    bool aceptado;
    QString value = Lee_Salida(static_cast<uint8_t>(2 * n + 30), code, prefix, aceptado);
    return aceptado ? value : QString();
}

QString Lee_Estado_Salida(int n, const QString& code, const QString& prefix) {
    if (code.size() != 3)
        return QStringLiteral("OFF");
    bool aceptado; // the state read does not look at the status byte
    QString value = Lee_Salida(static_cast<uint8_t>(2 * n + 31), code, prefix, aceptado);
    return value == QLatin1String("1") ? QStringLiteral("ON") : QStringLiteral("OFF");
}

uint8_t Lee_Registro(uint8_t address, uint8_t nibble, uint8_t extra) {
    Trama_Dec r = Pide(static_cast<uint8_t>(0x60 | (nibble & 0x0F)), address, extra, 0xFF);
    return Aceptada_Lectura_Panel(r) ? r[1] : 0;
}

bool Interroga_Dispositivo(const QString& code, uint8_t& data) {
    Trama_Dec r = Pide(0x70, 0x01, Alto(code), Bajo(code));
    data = r[1];
    return Aceptada_Simple(r);
}

bool Interroga_Dispositivo(const QString& code, uint8_t& data, int intentos) {
    const Trama_Dec r = Enlace().Transact_Intentos(0x70, 0x01, Alto(code), Bajo(code), intentos);
    data = r[1];
    return Aceptada_Simple(r);
}

bool Escribe_Codigo_Base(const QString& code) {
    if (code.isEmpty())
        return Acepta(0xB0, 0x00, 0x8F, 0x00);
    return Acepta(0xB0, 0x00, Alto(code), Bajo(code));
}

bool Escribe_Codigo_Salida(const QString& prefix, const QString& code, int n) {
    if (code.isEmpty())
        return Acepta(0xB0, Direccion_Salida(n), 0xFF, 0xFF);
    return Acepta(0xB0, Direccion_Salida(n), Alto(prefix, code), Bajo3(code));
}

bool Escribe_Tiempo_Salida(const QString& number, const QString& unit, int n) {
    uint8_t value = 0xFF;
    if (!number.isEmpty()) {
        value = Byte_Decimal(number);
        value = unit == QLatin1String("SEGUNDOS") ? value & 0x7F : value | 0x80;
    }
    return Acepta(0xB0, Direccion_Ajuste(n), value, 0xFF);
}

bool Escribe_Modo_Salida(const QString& number, const QString& state, int n) {
    uint8_t value = number.isEmpty() ? 0 : Byte_Decimal(number);
    uint8_t on = state.isEmpty() || state == QLatin1String("OFF") ? 0 : 1;
    return Acepta(0xB0, Direccion_Ajuste(n), value, on);
}

bool Escribe_Registro(uint8_t address, uint8_t data, uint8_t nibble, int extra) {
    const uint8_t orden = static_cast<uint8_t>(0xD0 | (nibble & 0x0F));
    const Trama_Dec r = Pide(orden, address, static_cast<uint8_t>(extra), data);
    return Aceptada_Escritura_Panel(Trama_Dec(orden, address, data, static_cast<uint8_t>(extra)),
                                    r);
}

bool Arma_Dispositivo(const QString& code) {
    return Acepta(0x80, 0x01, Alto(code), Bajo(code));
}

void Solicita_Programacion(const QString& code) {
    Enlace().Transact(0x50, 0x10, Alto(code), Bajo(code), false);
}

void Envia_Trama_Directa(uint8_t b1, uint8_t b2, uint8_t b3) {
    Enlace().Envia_Trama(Trama_Dec(0x20, b1, b2, b3));
}

std::vector<TNombre_Referencia> Nombres_Referencia() {
    std::map<uint8_t, std::vector<int>> referencias;
    for (const TModelo& m : Tabla_Modelos())
        if (m.Identificacion != Sin_Identificacion)
            referencias[m.Identificacion].push_back(m.Referencia);
    std::vector<TNombre_Referencia> nombres;
    for (auto& [identificacion, refs] : referencias) {
        std::sort(refs.begin(), refs.end(), std::greater<>());
        QStringList partes;
        for (int r : refs)
            partes << QStringLiteral("Ref. %1").arg(r);
        nombres.push_back({identificacion, partes.join(QStringLiteral(" / "))});
    }
    return nombres;
}

QString Nombre_Referencia(uint8_t id) {
    for (const TNombre_Referencia& r : Nombres_Referencia())
        if (r.Identificacion == id)
            return r.Nombre;
    return QStringLiteral("\u00BF?");
}

uint8_t Direccion_Salida(int n) {
    return n >= 1 && n <= 8 ? static_cast<uint8_t>(2 * (n - 1)) : 0;
}

uint8_t Direccion_Ajuste(int n) {
    return static_cast<uint8_t>(0x20 + Direccion_Salida(n));
}
