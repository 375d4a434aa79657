#pragma once
// How each model's editor is made: the factory of its row's family.

class QWidget;
class TF_Decoder;
struct TModelo;

// A new editor window for the model, not yet registered or shown.
TF_Decoder* Crea_Editor(const TModelo& modelo, QWidget* parent = nullptr);
