#include "Registro.h"

namespace {

class TSin_Registro final : public TRegistro {
public:
    void Lectura(const QString&, const TConfiguracion&) override {}
    QStringList Choques(const TConfiguracion&) override { return {}; }
    void Grabacion(const TGrabacion_Registro&) override {}
    void Prueba(const TPrueba_Registro&) override {}
    void Editor_Cerrado(int) override {}
};

TRegistro* Ninguno() {
    static TSin_Registro ninguno;
    return &ninguno;
}

TRegistro*& Instalado() {
    static TRegistro* registro = Ninguno();
    return registro;
}

} // namespace

TRegistro& Registro() {
    return *Instalado();
}

void Instala_Registro(TRegistro* registro) {
    Instalado() = registro ? registro : Ninguno();
}
