#pragma once
// The program's windows come to life here, in the start-up order, and are registered in
// Ventanas() and, for the editors, in the model table.

class TDECODER2;
class TInstalacion_Abierta;

// Creates every window in the start-up order (the main window first) over the program's link
// and installation (Programa.h). abre_puerto false leaves the serial line closed.
void Crea_Ventanas(TDECODER2* enlace, TInstalacion_Abierta* instalacion, bool abre_puerto);
// Destroys them all, in reverse order, and empties the registry.
void Destruye_Ventanas();

// The whole program as main() starts it (Programa.h), for tests and benchmarks: created, and
// ended with Destruye_Ventanas.
void Crea_Ventanas(bool abre_puerto = true);
