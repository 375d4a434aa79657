#pragma once
// The code plan of an installation: in each code space, every code its decoders hold in
// order, the runs of free codes between them, and which codes clash (overlap a code of
// another decoder, as the clash check before a Save judges it). What the Code plan window,
// its CSV file and the handover report's page show; no widgets.

#include "Instantanea.h"

#include <QList>

#include <optional>

// One row of a space: a code of a decoder, or a run of free codes.
struct TFila_Plan {
    bool Libre = false;
    // The numbers of the codes the row covers (Numeracion_Codigos.h). A code whose digits are
    // not of its space has none (Numerado false): it is listed, after the others, but takes
    // no room from the free codes.
    bool Numerado = true;
    qint64 Desde = 0;
    qint64 Hasta = 0;
    // A code: the decoder holding it, and the code as recorded (its text and output).
    qint64 Decoder = 0;
    int Indice = 0; // the code's position in the decoder's list
    int Referencia = 0;
    QList<int> Posibles; // while a survey left the model undecided
    QString Ubicacion;
    TCodigo_Registro Codigo;
    // The rows of the same space holding a code of another decoder that overlaps this one.
    QList<int> Choques;

    qint64 Cuantos() const { return Hasta - Desde + 1; }
};

struct TEspacio_Plan {
    TEspacio_Codigo Espacio = TEspacio_Codigo::Llamada;
    QList<TFila_Plan> Filas; // in order of their codes; a space without codes is one free run
    int Codigos = 0;         // rows that are codes
    int Con_Choque = 0;      // of them, those that clash
    qint64 Libres = 0;       // free codes
};

class TPlan_Codigos {
public:
    explicit TPlan_Codigos(const QList<TDecoder_Registro>& decoders);

    // Every space, in the order of TEspacio_Codigo.
    const QList<TEspacio_Plan>& Espacios() const { return espacios_; }
    const TEspacio_Plan& Espacio(TEspacio_Codigo espacio) const;

    // The first `cuantos` consecutive free codes of the space, as the numbers of the first and
    // the last; none when no run is that long (or `cuantos` is less than one).
    std::optional<std::pair<qint64, qint64>> Libres_Seguidos(TEspacio_Codigo espacio,
                                                             qint64 cuantos) const;

    struct THallazgo {
        TEspacio_Codigo Espacio;
        int Fila;
    };
    // Where a typed code is, in every space it reads as a code of: the codes holding it; when
    // none does, the free runs holding it. None when the text is no space's code.
    std::optional<QList<THallazgo>> Busca(const QString& texto) const;

private:
    QList<TEspacio_Plan> espacios_;
};
