#pragma once
// How the code plan reads for the user, alike in the Code plan window, its CSV file and the
// handover report: the spaces' names, free runs, clashes and each space's summary. The texts
// of the current language are looked up once, for all the rows.
//
// A clash is marked in red and always said in words too: red alone is lost on a printout in
// grey and on a reader who does not tell red apart.

#include "Frase.h"
#include "Numeracion_Codigos.h"
#include "Plan_Codigos.h"

#include <QString>

#include <array>

inline const QString Rojo_Choque = QStringLiteral("#b00000");

class TTextos_Plan {
public:
    TTextos_Plan();

    // "Audio codes"
    const QString& Espacio(TEspacio_Codigo espacio) const;
    // "Audio codes — in use: 12, free: 9988, clashes: 2"
    QString Resumen(const TEspacio_Plan& espacio) const;
    // A row's codes: a code as recorded ("0100–0199"), a free run by its ends ("0105–0199").
    QString Codigo(const TEspacio_Plan& espacio, const TFila_Plan& fila) const;
    // A free run: "0105–0199 free (95)".
    QString Libre(const TEspacio_Plan& espacio, const TFila_Plan& fila) const;
    // "Clash with 6759 Garage (Relay 1)", each decoder the code clashes with; empty without.
    QString Choque(const TEspacio_Plan& espacio, const TFila_Plan& fila) const;

private:
    TRedaccion redaccion_;
    std::array<QString, Espacios_Codigo> espacios_;
    QString resumen_;
    QString libre_;
    QString choque_;
};
