#include "Modelos.h"

#include <map>

namespace {

std::map<int, TF_Decoder*>& Editores() {
    static std::map<int, TF_Decoder*> editores;
    return editores;
}

} // namespace

TF_Decoder* Editor_Modelo(const TModelo& modelo) {
    return Editor_Por_Referencia(modelo.Referencia);
}

TF_Decoder* Editor_Por_Referencia(int referencia) {
    const auto e = Editores().find(referencia);
    return e == Editores().end() ? nullptr : e->second;
}

void Registra_Editor(int referencia, TF_Decoder* editor) {
    if (!Modelo_Por_Referencia(referencia))
        return;
    if (editor)
        Editores()[referencia] = editor;
    else
        Editores().erase(referencia);
}
