#include "Abre_Editor.h"

#include "Enrutado.h"
#include "Modelos.h"
#include "UF_Decoder.h"

namespace {

std::function<void(const TModelo&)>& Oyente() {
    static std::function<void(const TModelo&)> oyente;
    return oyente;
}

} // namespace

void Al_Abrir_Editor(std::function<void(const TModelo&)> oyente) {
    Oyente() = std::move(oyente);
}

TF_Decoder* Abre_Editor(const TModelo& modelo) {
    TEnrutado& enrutado = Enrutado();
    if (enrutado.Sondeo)
        return nullptr;
    // No frame goes to an editor while it is being shown.
    enrutado.Modelo_Activo = 0;
    enrutado.Lectura.Empieza(Forma_Lectura(modelo));
    TF_Decoder* editor = Editor_Modelo(modelo);
    editor->show();
    editor->raise();
    editor->activateWindow();
    enrutado.Modelo_Activo = modelo.Codigo;
    if (Oyente())
        Oyente()(modelo);
    return editor;
}
