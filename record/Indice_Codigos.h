#pragma once
// Every code the installation's decoders answer, by space, ordered by where its range starts,
// so that finding the codes a range overlaps costs a logarithmic search, not a pass over every
// decoder. Point codes (Desde == Hasta) are ranges like any other.

#include "Registro.h"

#include <array>
#include <functional>
#include <map>

class TIndice_Codigos {
public:
    // A code of a decoder: the decoder and the code's position in its list.
    struct TEntrada {
        qint64 Decoder = 0;
        int Indice = 0;
    };

    void Pon(qint64 decoder, const QList<TCodigo_Registro>& codigos);
    // `codigos` must be the list given to Pon for the decoder.
    void Quita(qint64 decoder, const QList<TCodigo_Registro>& codigos);

    // Each indexed code whose range overlaps the code's.
    void Solapes(const TCodigo_Registro& codigo,
                 const std::function<void(const TEntrada&)>& hallado) const;
    // Each pair of indexed codes of different decoders whose ranges overlap, once.
    void Pares(const std::function<void(const TEntrada&, const TEntrada&)>& hallado) const;

private:
    struct TRango {
        qint64 Hasta = 0;
        TEntrada Entrada;
    };
    using TEspacio = std::multimap<qint64, TRango>; // by Desde
    static constexpr int kEspacios = static_cast<int>(TEspacio_Codigo::Digitalizador) + 1;

    std::array<TEspacio, kEspacios> espacios_;
    // The widest range each space ever held: how far before a range's start an overlapping
    // one may begin.
    std::array<qint64, kEspacios> ancho_{};
};
