#pragma once
// What a row means for these decoders, in the user's language, and how it is grouped by the
// monitor's filter. Works on the row alone (its frame, the request it answers and the routing
// state kept with it), so a view can compute it lazily for the rows it shows.

#include "Fila_Linea.h"
#include "Textos_Monitor.h"

#include <QString>

QString Significado(const TFila_Linea& fila, const TTextos_Monitor& textos);

// Written by the program (requests, acknowledgements); everything else came from the line.
bool Hacia_La_Linea(const TFila_Linea& fila);
// A request of the program, or what came of it: its reply, its time-outs, a late reply.
bool De_Peticion(const TFila_Linea& fila);
// A frame the decoder sent on its own, or the acknowledgement that answered it.
bool Del_Decoder(const TFila_Linea& fila);
// A time-out, a refusal, a decoder of another model than the open editor's, or debris.
bool Es_Problema(const TFila_Linea& fila);

// "B0 02 35 12": the bytes in hexadecimal, in line order.
QString Bytes_Hex(const TFila_Linea& fila);
