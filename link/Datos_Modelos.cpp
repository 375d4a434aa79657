#include "Datos_Modelos.h"

#include <algorithm>
#include <limits>
#include <set>
#include <stdexcept>
#include <string>

namespace {

constexpr Trama_Dec Cierre_Llamada{0x50, 0x20, 0xFF, 0x9F};

using E = TEspacio_Codigo;
using C = TTipo_Codigo;
using F = TFamilia;

std::deque<TModelo>& Filas() {
    static std::deque<TModelo> filas = {
        {6713, 10, 0x44, 4, Cierre_Llamada, E::Llamada, C::Audio, F::Llamada, 2},
        {6721, 5, 0x34, 4, Cierre_Llamada, E::Llamada, C::Audio, F::Llamada, 0, false},
        {6722, 6, 0x38, 8, Cierre_Llamada, E::Llamada, C::Audio, F::Llamada},
        {6734, 8, 0x44, 4, Cierre_Llamada, E::Rango_6734, C::Audio, F::Torvik, 3},
        {6745, 2, 0x44, 4, Cierre_Llamada, E::Llamada, C::Audio, F::Llamada, 1},
        {6746, 3, 0x48, 8, Cierre_Llamada, E::Llamada, C::Audio, F::Llamada},
        {6747, 4, 0x54, 4, Cierre_Llamada, E::Llamada, C::Audio, F::Llamada, 0, false},
        {6758, 9, 0x18, 8, {0x50, 0x20, 0xFF, 0xAF}, E::Sensor, C::A, F::Sensores},
        {6759, 1, 0x28, 8, {0x50, 0x20, 0xFF, 0xBF}, E::Rele, C::B, F::Reles},
        {6763, 7, 0x64, 4, {0x50, 0x20, 0xFF, 0xDF}, E::Panel, C::D, F::Panel},
        {6775,
         11,
         Sin_Identificacion,
         0,
         {0xC0, 0x01, 0xFF, 0x9F},
         E::Digitalizador,
         C::Ninguno,
         F::Digitalizador},
        {6786, 12, 0x31, 1, {0x50, 0x20, 0xFF, 0xFF}, E::Direccion_6786, C::Audio, F::Conversor},
    };
    return filas;
}

} // namespace

const std::deque<TModelo>& Tabla_Modelos() {
    return Filas();
}

void Anade_Modelo(const TModelo& modelo) {
    if (Modelo_Por_Referencia(modelo.Referencia) || Modelo_Por_Codigo(modelo.Codigo) ||
        modelo.Codigo == 0)
        throw std::logic_error("model " + std::to_string(modelo.Referencia) +
                               ": its reference or routing code is taken");
    Filas().push_back(modelo);
}

QString TModelo::Clave_Lista() const {
    return QStringLiteral("List_") + QString::number(Referencia);
}

int TModelo::Posicion() const {
    const std::deque<TModelo>& filas = Tabla_Modelos();
    for (std::size_t i = 0; i < filas.size(); ++i)
        if (&filas[i] == this)
            return static_cast<int>(i);
    return -1;
}

const TModelo* Modelo_Por_Referencia(int referencia) {
    for (const TModelo& m : Tabla_Modelos())
        if (m.Referencia == referencia)
            return &m;
    return nullptr;
}

const TModelo* Modelo_Por_Codigo(uint8_t codigo) {
    for (const TModelo& m : Tabla_Modelos())
        if (m.Codigo == codigo)
            return &m;
    return nullptr;
}

std::vector<const TModelo*> Modelos_Por_Identificacion(uint8_t identificacion) {
    std::vector<const TModelo*> modelos;
    if (identificacion == Sin_Identificacion)
        return modelos;
    for (const TModelo& m : Tabla_Modelos())
        if (m.Identificacion == identificacion)
            modelos.push_back(&m);
    return modelos;
}

QString Letra_Codigo(TTipo_Codigo tipo) {
    switch (tipo) {
    case TTipo_Codigo::D:
        return QStringLiteral("D");
    case TTipo_Codigo::A:
        return QStringLiteral("A");
    case TTipo_Codigo::B:
        return QStringLiteral("B");
    case TTipo_Codigo::Audio:
    case TTipo_Codigo::Ninguno:
        break;
    }
    return {};
}

std::vector<const TModelo*> Modelos_En_Eleccion(uint8_t identificacion) {
    std::vector<const TModelo*> modelos = Modelos_Por_Identificacion(identificacion);
    // Those without a place keep their list order after the others.
    const auto lugar = [](const TModelo* m) {
        return m->Eleccion == 0 ? std::numeric_limits<int>::max() : m->Eleccion;
    };
    std::stable_sort(modelos.begin(), modelos.end(),
                     [&](const TModelo* a, const TModelo* b) { return lugar(a) < lugar(b); });
    return modelos;
}

std::vector<const TModelo*> Modelos_Compartidos() {
    std::set<uint8_t> bytes;
    for (const TModelo& m : Tabla_Modelos())
        if (m.Identificacion != Sin_Identificacion)
            bytes.insert(m.Identificacion);
    std::vector<const TModelo*> modelos;
    for (uint8_t b : bytes) {
        const std::vector<const TModelo*> grupo = Modelos_En_Eleccion(b);
        if (grupo.size() > 1)
            modelos.insert(modelos.end(), grupo.begin(), grupo.end());
    }
    return modelos;
}
