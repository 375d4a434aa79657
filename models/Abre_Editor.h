#pragma once
// Opening a model's editor for its decoder's frames: the one way Go! and re-programming do it.

#include <functional>

struct TModelo;
class TF_Decoder;

// The read-out starts at its first value, the editor comes to the front (without a modal
// loop), and the model's frames are routed to it from then on. Null while a survey runs: it
// takes the decoders' frames, and no editor opens.
TF_Decoder* Abre_Editor(const TModelo& modelo);

// Told of each editor Abre_Editor opens, once it receives its model's frames (the program
// clears its offer of an editor then); nullptr: nobody is told.
void Al_Abrir_Editor(std::function<void(const TModelo&)> oyente);
