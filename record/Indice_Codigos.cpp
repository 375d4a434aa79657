#include "Indice_Codigos.h"

#include <algorithm>

namespace {

int Numero(TEspacio_Codigo espacio) {
    return static_cast<int>(espacio);
}

// A range given backwards still covers the values between its ends.
std::pair<qint64, qint64> Extremos(const TCodigo_Registro& c) {
    return std::minmax(c.Desde, c.Hasta);
}

} // namespace

void TIndice_Codigos::Pon(qint64 decoder, const QList<TCodigo_Registro>& codigos) {
    for (int i = 0; i < codigos.size(); ++i) {
        const auto [desde, hasta] = Extremos(codigos[i]);
        const int e = Numero(codigos[i].Espacio);
        espacios_[e].emplace(desde, TRango{hasta, {decoder, i}});
        ancho_[e] = std::max(ancho_[e], hasta - desde);
    }
}

void TIndice_Codigos::Quita(qint64 decoder, const QList<TCodigo_Registro>& codigos) {
    for (int i = 0; i < codigos.size(); ++i) {
        TEspacio& espacio = espacios_[Numero(codigos[i].Espacio)];
        auto [desde, hasta] = espacio.equal_range(Extremos(codigos[i]).first);
        for (auto it = desde; it != hasta; ++it) {
            if (it->second.Entrada.Decoder == decoder && it->second.Entrada.Indice == i) {
                espacio.erase(it);
                break;
            }
        }
    }
}

void TIndice_Codigos::Solapes(const TCodigo_Registro& codigo,
                              const std::function<void(const TEntrada&)>& hallado) const {
    const auto [desde, hasta] = Extremos(codigo);
    const int e = Numero(codigo.Espacio);
    const TEspacio& espacio = espacios_[e];
    const auto fin = espacio.upper_bound(hasta);
    for (auto it = espacio.lower_bound(desde - ancho_[e]); it != fin; ++it) {
        if (it->second.Hasta >= desde) {
            hallado(it->second.Entrada);
        }
    }
}

void TIndice_Codigos::Pares(
    const std::function<void(const TEntrada&, const TEntrada&)>& hallado) const {
    for (const TEspacio& espacio : espacios_) {
        // Ordered by start: a later range overlaps this one exactly when it starts within it.
        for (auto it = espacio.begin(); it != espacio.end(); ++it) {
            const auto fin = espacio.upper_bound(it->second.Hasta);
            for (auto otro = std::next(it); otro != fin; ++otro) {
                if (otro->second.Entrada.Decoder != it->second.Entrada.Decoder) {
                    hallado(it->second.Entrada, otro->second.Entrada);
                }
            }
        }
    }
}
