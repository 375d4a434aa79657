#pragma once
// The key filter of every number field: backspace, tab, line feed, carriage return, blank and
// the digits pass.

class QKeyEvent;

// True when the key is to be swallowed. Keys that type no character (arrows, Delete, Home)
// are the field's own editing and pass.
bool Tecla_Rechazada(const QKeyEvent* key);
