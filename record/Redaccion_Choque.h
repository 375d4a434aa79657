#pragma once
// A clash as the user reads it, one line: "1234 — output 2 of the 6746 “Entrance A, floor 3”,
// read 10:32". The texts of the current language are taken once, for all the lines of a
// warning.

#include "Instantanea.h"

#include <QDate>

class TRedaccion_Choque {
public:
    TRedaccion_Choque();

    // `codigo` is the code being checked; `otro` the decoder it clashes with and `suyo` the
    // code of it that overlaps. The time is the other decoder's last read-out, or its last
    // Save when it was never read; with the date when that was not `hoy`.
    QString Linea(const TCodigo_Registro& codigo, const TDecoder_Registro& otro,
                  const TCodigo_Registro& suyo, const QDate& hoy) const;

private:
    QString con_ubicacion_;
    QString sin_ubicacion_;
    QString leido_;
    QString grabado_;
    QString fecha_;
};
