#pragma once
// The program's windows come to life here, in the start-up order, and are registered in
// Ventanas() and, for the editors, in the model table.

// Creates every window in the start-up order (the main window first).
void Crea_Ventanas();
// Destroys them all, in reverse order, and empties the registry.
void Destruye_Ventanas();
