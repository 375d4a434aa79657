#pragma once
// The ranges a survey is asked for: the check of a range typed for a device type, and the
// ranges the installation record already knows, as the survey's window offers them.

#include "Registro.h"
#include "Sondeo.h"

#include <QList>
#include <QString>

// The largest number of a device type: 9999 for audio codes, 999 behind a class letter.
int Mayor_Numero(TTipo_Codigo tipo);

// The range typed in the fields `desde` and `hasta` for a type, into `rango`. A field left
// empty takes the other's value (one code). Returns why it is refused, naming the field by
// `nombre_desde` or `nombre_hasta` ("Audio, from"), in the user's language; empty when it is
// taken.
QString Comprueba_Rango(TTipo_Codigo tipo, const QString& desde, const QString& hasta,
                        const QString& nombre_desde, const QString& nombre_hasta,
                        TRango_Sondeo& rango);

// For each device type that has codes in the record, the range from its lowest to its highest
// code widened to whole hundreds ("0123"–"0456" is 0100–0499); types without any are left out.
QList<TRango_Sondeo> Rangos_Conocidos(const QList<TCodigo_Registro>& codigos);
