#include "Numeracion_Codigos.h"

namespace {

using E = TEspacio_Codigo;

constexpr qint64 Paneles = 10;    // a digitizer's panel: one decimal digit
constexpr qint64 Bloques = 100;   // its block: two decimal digits in one byte
constexpr QChar Guion(u'\u2013'); // between the ends of a run

// The decimal digits of a plain space; 0 for the digitizer's.
int Digitos(E espacio) {
    switch (espacio) {
    case E::Panel:
    case E::Sensor:
    case E::Rele:
        return 3;
    case E::Digitalizador:
        return 0;
    case E::Llamada:
    case E::Rango_6734:
    case E::Direccion_6786:
        break;
    }
    return 4;
}

// The letter that the devices test types before a three-digit code, and that a decoder may
// hold as the code's first half-byte.
QChar Clase(E espacio) {
    switch (espacio) {
    case E::Panel:
        return u'D';
    case E::Sensor:
        return u'A';
    case E::Rele:
        return u'B';
    default:
        return {};
    }
}

// The number the hexadecimal digits spell in decimal; none when one is a letter.
std::optional<qint64> Decimal(qint64 valor, int digitos) {
    qint64 numero = 0;
    qint64 peso = 1;
    for (int i = 0; i < digitos; ++i, valor >>= 4, peso *= 10) {
        const qint64 digito = valor & 0xF;
        if (digito > 9)
            return std::nullopt;
        numero += digito * peso;
    }
    return numero;
}

// Only decimal digits, at most `maximo` of them.
std::optional<qint64> Digitos_Tecleados(const QString& texto, int maximo) {
    if (texto.isEmpty() || texto.size() > maximo)
        return std::nullopt;
    for (QChar c : texto)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return texto.toLongLong();
}

} // namespace

qint64 Tamano_Espacio(TEspacio_Codigo espacio) {
    return espacio == E::Digitalizador ? Paneles * Bloques : Digitos(espacio) == 3 ? 1000 : 10000;
}

std::optional<qint64> Numero_Codigo(TEspacio_Codigo espacio, qint64 valor) {
    if (valor < 0)
        return std::nullopt;
    if (espacio == E::Digitalizador) {
        const qint64 panel = valor >> 8;
        const std::optional<qint64> bloque = Decimal(valor & 0xFF, 2);
        if (panel >= Paneles || !bloque)
            return std::nullopt;
        return panel * Bloques + *bloque;
    }
    const int digitos = Digitos(espacio);
    qint64 resto = valor >> (4 * digitos);
    // The class half-byte a three-digit code may carry is the space's own.
    if (!Clase(espacio).isNull() && resto == Clase(espacio).unicode() - u'A' + 0xA)
        resto = 0;
    if (resto != 0)
        return std::nullopt;
    return Decimal(valor, digitos);
}

QString Texto_Numero(TEspacio_Codigo espacio, qint64 numero) {
    if (espacio == E::Digitalizador)
        return QStringLiteral("%1/%2")
            .arg(numero / Bloques)
            .arg(numero % Bloques, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1").arg(numero, Digitos(espacio), 10, QLatin1Char('0'));
}

QString Texto_Tramo(TEspacio_Codigo espacio, qint64 desde, qint64 hasta) {
    if (desde == hasta)
        return Texto_Numero(espacio, desde);
    return Texto_Numero(espacio, desde) + Guion + Texto_Numero(espacio, hasta);
}

std::optional<qint64> Lee_Numero(TEspacio_Codigo espacio, const QString& tecleado) {
    const QString texto = tecleado.trimmed().toUpper();
    if (espacio == E::Digitalizador) {
        const qsizetype barra = texto.indexOf(u'/');
        if (barra < 0)
            return std::nullopt;
        const auto panel = Digitos_Tecleados(texto.left(barra), 1);
        const auto bloque = Digitos_Tecleados(texto.mid(barra + 1), 2);
        if (!panel || !bloque)
            return std::nullopt;
        return *panel * Bloques + *bloque;
    }
    const QChar clase = Clase(espacio);
    const bool con_clase = !clase.isNull() && texto.startsWith(clase);
    return Digitos_Tecleados(con_clase ? texto.mid(1) : texto, Digitos(espacio));
}
