#pragma once
// The model table (Datos_Modelos.h, in the link) and the editor window each model has once
// the windows are created: the routing, the re-programming window and the main window reach
// an editor through its model's row.

#include "Datos_Modelos.h"

class TF_Decoder;

// The editor window; null before the windows are created.
TF_Decoder* Editor_Modelo(const TModelo& modelo);
// Null as well for a reference that is no model's.
TF_Decoder* Editor_Por_Referencia(int referencia);

// Called once per editor as the windows are created, and with null as they are destroyed.
void Registra_Editor(int referencia, TF_Decoder* editor);
