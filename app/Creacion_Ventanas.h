#pragma once
// The program's windows come to life here, in the start-up order, and are registered in
// Ventanas() and, for the editors, in the model table.

// Creates every window in the start-up order (the main window first). abre_puerto false leaves
// the serial line closed.
void Crea_Ventanas(bool abre_puerto = true);
// Destroys them all, in reverse order, and empties the registry.
void Destruye_Ventanas();
