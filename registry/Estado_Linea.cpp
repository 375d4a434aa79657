#include "Estado_Linea.h"

namespace {
TEstado_Linea& Estado() {
    static TEstado_Linea estado;
    return estado;
}
} // namespace

const TEstado_Linea& Estado_Linea() {
    return Estado();
}

void Anota_Estado_Linea(const TEstado_Linea& estado) {
    Estado() = estado;
    emit Avisos_Linea().Cambiada();
}

void Olvida_Estado_Linea() {
    Estado() = TEstado_Linea{};
}

TAvisos_Linea& Avisos_Linea() {
    static TAvisos_Linea avisos;
    return avisos;
}
