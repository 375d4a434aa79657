#include "Plan_Codigos.h"

#include "Indice_Codigos.h"
#include "Numeracion_Codigos.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

namespace {

TFila_Plan Fila_Codigo(const TDecoder_Registro& d, int indice) {
    const TCodigo_Registro& c = d.Codigos[indice];
    TFila_Plan fila;
    fila.Decoder = d.Id;
    fila.Indice = indice;
    fila.Referencia = d.Referencia;
    fila.Posibles = d.Posibles;
    fila.Ubicacion = d.Ubicacion;
    fila.Codigo = c;
    const std::optional<qint64> desde = Numero_Codigo(c.Espacio, c.Desde);
    const std::optional<qint64> hasta = Numero_Codigo(c.Espacio, c.Hasta);
    fila.Numerado = desde && hasta;
    // A range given backwards still covers the codes between its ends.
    std::tie(fila.Desde, fila.Hasta) =
        fila.Numerado ? std::minmax(*desde, *hasta) : std::minmax(c.Desde, c.Hasta);
    return fila;
}

TFila_Plan Fila_Libre(qint64 desde, qint64 hasta) {
    TFila_Plan fila;
    fila.Libre = true;
    fila.Desde = desde;
    fila.Hasta = hasta;
    return fila;
}

// The codes in order with the free runs between them; the codes that are not of the space
// after them, in the order of what the record holds.
QList<TFila_Plan> Con_Libres(QList<TFila_Plan> codigos, qint64 tamano) {
    std::stable_sort(codigos.begin(), codigos.end(), [](const TFila_Plan& a, const TFila_Plan& b) {
        return std::tuple(!a.Numerado, a.Desde, a.Hasta) <
               std::tuple(!b.Numerado, b.Desde, b.Hasta);
    });
    QList<TFila_Plan> filas;
    filas.reserve(codigos.size() * 2 + 1);
    qint64 siguiente = 0; // the first code that no row before has covered
    for (TFila_Plan& c : codigos) {
        if (c.Numerado && c.Desde > siguiente)
            filas.append(Fila_Libre(siguiente, c.Desde - 1));
        if (c.Numerado)
            siguiente = std::max(siguiente, c.Hasta + 1);
        else if (siguiente < tamano) { // the last free run, before the first of these

            filas.append(Fila_Libre(siguiente, tamano - 1));
            siguiente = tamano;
        }
        filas.append(std::move(c));
    }
    if (siguiente < tamano)
        filas.append(Fila_Libre(siguiente, tamano - 1));
    return filas;
}

} // namespace

TPlan_Codigos::TPlan_Codigos(const QList<TDecoder_Registro>& decoders) {
    TIndice_Codigos indice;
    std::array<QList<TFila_Plan>, Espacios_Codigo> codigos;
    for (const TDecoder_Registro& d : decoders) {
        indice.Pon(d.Id, d.Codigos);
        for (int i = 0; i < d.Codigos.size(); ++i)
            codigos[static_cast<int>(d.Codigos[i].Espacio)].append(Fila_Codigo(d, i));
    }

    // A decoder's code → its space and row.
    QHash<std::pair<qint64, int>, std::pair<int, int>> donde;
    for (int e = 0; e < Espacios_Codigo; ++e) {
        const auto espacio = static_cast<TEspacio_Codigo>(e);
        TEspacio_Plan plan;
        plan.Espacio = espacio;
        plan.Filas = Con_Libres(codigos[e], Tamano_Espacio(espacio));
        for (int f = 0; f < plan.Filas.size(); ++f) {
            TFila_Plan& fila = plan.Filas[f];
            if (fila.Libre) {
                plan.Libres += fila.Cuantos();
                continue;
            }
            ++plan.Codigos;
            donde.insert({fila.Decoder, fila.Indice}, {e, f});
        }
        espacios_.append(plan);
    }

    // The pairs the clash check finds, each row told of the other.
    const auto donde_de = [&](const TIndice_Codigos::TEntrada& a) {
        return donde.value({a.Decoder, a.Indice});
    };
    indice.Pares([&](const TIndice_Codigos::TEntrada& a, const TIndice_Codigos::TEntrada& b) {
        const auto [e, fa] = donde_de(a);
        const int fb = donde_de(b).second;
        espacios_[e].Filas[fa].Choques.append(fb);
        espacios_[e].Filas[fb].Choques.append(fa);
    });
    for (TEspacio_Plan& plan : espacios_)
        for (TFila_Plan& fila : plan.Filas) {
            std::sort(fila.Choques.begin(), fila.Choques.end());
            if (!fila.Choques.isEmpty())
                ++plan.Con_Choque;
        }
}

const TEspacio_Plan& TPlan_Codigos::Espacio(TEspacio_Codigo espacio) const {
    return espacios_.at(static_cast<int>(espacio));
}

std::optional<std::pair<qint64, qint64>> TPlan_Codigos::Libres_Seguidos(TEspacio_Codigo espacio,
                                                                        qint64 cuantos) const {
    if (cuantos < 1)
        return std::nullopt;
    for (const TFila_Plan& fila : Espacio(espacio).Filas)
        if (fila.Libre && fila.Cuantos() >= cuantos)
            return std::pair(fila.Desde, fila.Desde + cuantos - 1);
    return std::nullopt;
}

std::optional<QList<TPlan_Codigos::THallazgo>> TPlan_Codigos::Busca(const QString& texto) const {
    bool es_codigo = false;
    QList<THallazgo> codigos;
    QList<THallazgo> libres;
    for (const TEspacio_Plan& plan : espacios_) {
        const std::optional<qint64> numero = Lee_Numero(plan.Espacio, texto);
        if (!numero)
            continue;
        es_codigo = true;
        for (int f = 0; f < plan.Filas.size(); ++f) {
            const TFila_Plan& fila = plan.Filas[f];
            if (fila.Numerado && fila.Desde <= *numero && *numero <= fila.Hasta)
                (fila.Libre ? libres : codigos).append({plan.Espacio, f});
        }
    }
    if (!es_codigo)
        return std::nullopt;
    return codigos.isEmpty() ? libres : codigos;
}
