#pragma once
// How the codes of each space count: a code as a number from 0 to the space's size, so that
// the free codes between two codes can be measured, and back to the digits the user reads and
// types. The record holds a code as its digits read in hexadecimal ("0199" is 0x0199), which
// would count 0x019A…0x01FF as codes in between.

#include "Espacio_Codigo.h"

#include <QString>

#include <optional>

// How many code spaces there are: every value of TEspacio_Codigo.
constexpr int Espacios_Codigo = static_cast<int>(TEspacio_Codigo::Digitalizador) + 1;

// How many codes the space has: 10000 for four digits, 1000 for three, 1000 for a digitizer's
// panel (one digit) and block (two).
qint64 Tamano_Espacio(TEspacio_Codigo espacio);

// The number of a code as the record holds it; none for digits that are not the space's
// (a hexadecimal letter, a digit too many).
std::optional<qint64> Numero_Codigo(TEspacio_Codigo espacio, qint64 valor);

// The code as the user reads it: "0105", "105", "1/05".
QString Texto_Numero(TEspacio_Codigo espacio, qint64 numero);
// "0105–0199", or the one code when the run holds one.
QString Texto_Tramo(TEspacio_Codigo espacio, qint64 desde, qint64 hasta);

// A typed code: up to the space's digits ("12" is 0012), for panel, sensor and relay codes
// also behind their class letter ("A123" is a sensor code only), and a digitizer's as
// panel/block ("1/05"). None when the text is no code of the space.
std::optional<qint64> Lee_Numero(TEspacio_Codigo espacio, const QString& texto);
