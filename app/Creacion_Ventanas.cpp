#include "Creacion_Ventanas.h"

#include "DECODER2.h"

#include "F_About.h"
#include "F_Instalacion.h"
#include "F_Language.h"
#include "F_Mensa.h"
#include "F_Monitor.h"
#include "F_Plan_Codigos.h"
#include "F_Principal.h"
#include "Fabrica_Editores.h"
#include "Menu_Instalacion.h"
#include "Modelos.h"
#include "Programa.h"
#include "UF_Decoder.h"
#include "UF_Decoder_6775_Help.h"
#include "UF_Reprogram.h"
#include "UF_Reprogram_Coinc.h"
#include "UF_Sondeo.h"
#include "UF_Test.h"
#include "Ventanas.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {
// Every window but the main one, in creation order, so they are destroyed in reverse.
std::vector<std::unique_ptr<QWidget>>& Creadas() {
    static std::vector<std::unique_ptr<QWidget>> ventanas;
    return ventanas;
}

template <typename T, typename... Args> T* Crea(T*& campo, Args&&... args) {
    campo = new T(std::forward<Args>(args)...);
    Creadas().emplace_back(campo);
    return campo;
}

// Each model's editor, made by its family's factory.
void Crea_Editores() {
    for (const TModelo& modelo : Tabla_Modelos()) {
        TF_Decoder* editor = Crea_Editor(modelo);
        Creadas().emplace_back(editor);
        // A family written for one model cannot serve a row of another.
        if (editor->Referencia() != modelo.Referencia)
            throw std::logic_error("model " + std::to_string(modelo.Referencia) +
                                   ": its family's editor is the " +
                                   std::to_string(editor->Referencia()) + "'s");
        Registra_Editor(modelo.Referencia, editor);
    }
}

// The program of Crea_Ventanas(bool), ended by Destruye_Ventanas.
std::unique_ptr<TPrograma>& Programa_Prueba() {
    static std::unique_ptr<TPrograma> programa;
    return programa;
}
} // namespace

void Crea_Ventanas(bool abre_puerto) {
    Programa_Prueba().reset();
    Programa_Prueba() = std::make_unique<TPrograma>(abre_puerto);
}

void Crea_Ventanas(TDECODER2* enlace, TInstalacion_Abierta* instalacion, bool abre_puerto) {
    TVentanas& v = Ventanas();
    // The main window first: the others follow its texts.
    Crea(v.F_Princ, enlace, instalacion, abre_puerto);
    Crea_Editores();
    Crea(v.F_Mensa00);
    Crea(v.F_Mensa01);
    Crea(v.F_Mensa04);
    Crea(v.F_Mensa02);
    Crea(v.AboutBox);
    Crea(v.F_Lang);
    Crea(v.F_Mensa03);
    Crea(v.F_Mensa05);
    Crea(v.F_Test);
    Crea(v.F_Reprogram);
    Crea(v.F_Reprogram_Coinc);
    Crea(v.F_Decoder_6775_Help);
    Crea(v.F_Instalacion);
    Crea(v.F_Plan_Codigos);
    Crea(v.F_Sondeo);
    // The survey's window cannot reach the installation window below it: it is shown as
    // File > Installation shows it, on the open record.
    v.F_Sondeo->Muestra_Instalacion = [] { Ventanas().F_Princ->Menu_Instalacion->Muestra(); };
    // It listens to the main window's link, which is destroyed after it.
    Crea(v.F_Monitor, v.F_Princ->Decod1);
}

void Destruye_Ventanas() {
    // A program made by Crea_Ventanas(bool) ends here; its end comes back to destroy them.
    if (auto programa = std::move(Programa_Prueba()))
        return;
    auto& ventanas = Creadas();
    while (!ventanas.empty())
        ventanas.pop_back();
    for (const TModelo& m : Tabla_Modelos())
        Registra_Editor(m.Referencia, nullptr);
    Ventanas() = TVentanas{};
}
