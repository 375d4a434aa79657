#include "Ventanas.h"

#include "F_About.h"
#include "F_Language.h"
#include "F_Mensa.h"
#include "F_Principal.h"

#include <memory>
#include <vector>

namespace {
// Every window but the main one, in creation order, so they are destroyed in reverse.
std::vector<std::unique_ptr<QWidget>>& Creadas() {
    static std::vector<std::unique_ptr<QWidget>> ventanas;
    return ventanas;
}

template <typename T> T* Crea(T*& campo) {
    campo = new T;
    Creadas().emplace_back(campo);
    return campo;
}
} // namespace

TVentanas& Ventanas() {
    static TVentanas ventanas;
    return ventanas;
}

void Crea_Ventanas() {
    TVentanas& v = Ventanas();
    // The main window first: its creation opens the language file and loads the language
    // that every later window takes its texts from.
    Crea(v.F_Princ);
    Crea(v.F_Mensa00);
    Crea(v.F_Mensa01);
    Crea(v.F_Mensa04);
    Crea(v.F_Mensa02);
    Crea(v.AboutBox);
    Crea(v.F_Lang);
    Crea(v.F_Mensa03);
    Crea(v.F_Mensa05);
}

void Destruye_Ventanas() {
    auto& ventanas = Creadas();
    while (!ventanas.empty())
        ventanas.pop_back();
    Ventanas() = TVentanas {};
}
