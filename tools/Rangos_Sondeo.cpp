#include "Rangos_Sondeo.h"

#include "Idiomas.h"

#include <QMap>

#include <algorithm>

namespace {

constexpr int Centena = 100;

// The device type of a code space: that of the models whose codes live there.
std::optional<TTipo_Codigo> Tipo_Espacio(TEspacio_Codigo espacio) {
    for (const TModelo& m : Tabla_Modelos())
        if (m.Espacio == espacio && m.Tipo_Codigo != TTipo_Codigo::Ninguno)
            return m.Tipo_Codigo;
    return std::nullopt;
}

// A code as the record holds it (its digits as hexadecimal) back to its number; -1 when its
// digits are not all decimal (a class nibble, an erased word).
int Numero(qint64 valor) {
    bool valido = false;
    const int n = QString::number(valor, 16).toInt(&valido, 10);
    return valido ? n : -1;
}

} // namespace

int Mayor_Numero(TTipo_Codigo tipo) {
    return tipo == TTipo_Codigo::Audio ? 9999 : 999;
}

QString Comprueba_Rango(TTipo_Codigo tipo, const QString& desde, const QString& hasta,
                        const QString& nombre_desde, const QString& nombre_hasta,
                        TRango_Sondeo& rango) {
    const QString textos[2] = {desde.trimmed().isEmpty() ? hasta : desde,
                               hasta.trimmed().isEmpty() ? desde : hasta};
    const QString nombres[2] = {desde.trimmed().isEmpty() ? nombre_hasta : nombre_desde,
                                hasta.trimmed().isEmpty() ? nombre_desde : nombre_hasta};
    int numeros[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        const QString texto = textos[i].trimmed();
        bool valido = !texto.isEmpty() &&
                      std::all_of(texto.begin(), texto.end(), [](QChar c) { return c.isDigit(); });
        numeros[i] = valido ? texto.toInt(&valido) : 0;
        if (!valido)
            return Texto(QStringLiteral("Srv_NotNumber")).arg(nombres[i], textos[i]);
        if (numeros[i] > Mayor_Numero(tipo))
            return Texto(QStringLiteral("Srv_TooWide"))
                .arg(nombres[i], texto)
                .arg(Mayor_Numero(tipo));
    }
    if (numeros[1] < numeros[0])
        return Texto(QStringLiteral("Srv_Backwards")).arg(nombre_hasta, textos[1], textos[0]);
    rango = {tipo, numeros[0], numeros[1]};
    return {};
}

QList<TRango_Sondeo> Rangos_Conocidos(const QList<TCodigo_Registro>& codigos) {
    QMap<int, TRango_Sondeo> por_tipo;
    for (const TCodigo_Registro& c : codigos) {
        const std::optional<TTipo_Codigo> tipo = Tipo_Espacio(c.Espacio);
        const int desde = Numero(c.Desde);
        const int hasta = Numero(c.Hasta);
        if (!tipo || desde < 0 || hasta < 0 || hasta > Mayor_Numero(*tipo))
            continue;
        const int clave = static_cast<int>(*tipo);
        if (!por_tipo.contains(clave))
            por_tipo[clave] = {*tipo, desde, hasta};
        TRango_Sondeo& r = por_tipo[clave];
        r.Desde = std::min(r.Desde, desde);
        r.Hasta = std::max(r.Hasta, hasta);
    }
    QList<TRango_Sondeo> rangos;
    for (TRango_Sondeo r : std::as_const(por_tipo)) {
        r.Desde = r.Desde / Centena * Centena;
        r.Hasta = std::min(Mayor_Numero(r.Tipo), r.Hasta / Centena * Centena + Centena - 1);
        rangos.append(r);
    }
    return rangos;
}
