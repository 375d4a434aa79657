#pragma once
// A clash as the user reads it, one line: "1234 — output 2 of the 6746 “Entrance A, floor 3”,
// saved 10:32". Worded from the record as it is at the moment of wording, in the current
// language, whose texts are taken once, for all the lines of a warning or a listing.

#include "Frase.h"
#include "Instantanea.h"

#include <QDate>

class TRedaccion_Choque {
public:
    TRedaccion_Choque();

    // `codigo` is the code being checked; `otro` the decoder it clashes with and `suyo` the
    // code of it that overlaps. The time and kind are those of the other decoder's latest
    // read-out, survey or Save (what set its codes); with the date when that was not `hoy`.
    QString Linea(const TCodigo_Registro& codigo, const TDecoder_Registro& otro,
                  const TCodigo_Registro& suyo, const QDate& hoy) const;
    // Both decoders of a clash of the installation, each where its code is; empty when the
    // snapshot lacks either.
    QString Par(const TChoque_Registro& choque, const TInstantanea& instantanea,
                const QDate& hoy) const;

private:
    TRedaccion redaccion_;
    QString con_ubicacion_;
    QString sin_ubicacion_;
    QString leido_;
    QString sondeado_;
    QString grabado_;
    QString fecha_;
};
