#pragma once
// Where a code must be unique across the installation's decoders: each model's values belong
// to one of these (its row in the model table says which), and the installation record checks
// clashes within each.

enum class TEspacio_Codigo {
    Llamada,    // four-digit call codes
    Panel,      // panel codes
    Sensor,     // sensor codes
    Rele,       // relay codes
    Rango_6734, // a Torvik decoder's address range: clashes by overlap
    Direccion_6786,
    Digitalizador, // a digitizer's panel and block together
};
