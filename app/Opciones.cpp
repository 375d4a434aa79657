#include "Opciones.h"

#include "Configuracion.h"
#include "Idiomas.h"

#include <QTextStream>

namespace {

// The usual status for a command-line mistake.
constexpr int Estado_Uso = 2;

} // namespace

TOrden Lee_Orden(const QStringList& argumentos) {
    if (argumentos.isEmpty())
        return TOrden::Programa;
    if (argumentos.size() == 1 && argumentos[0] == QLatin1String("--check"))
        return TOrden::Comprobacion;
    if (argumentos.size() == 1 && argumentos[0] == QLatin1String("--version"))
        return TOrden::Version;
    return TOrden::Desconocida;
}

int Orden_Desconocida(const QStringList& argumentos, QTextStream& salida) {
    // The settings name the language; nothing else of the program is started.
    Abre_Fichero_Idiomas();
    Lee_Configuracion();
    salida << Texto(QStringLiteral("CHK_Opcion")) << ' ' << argumentos.join(QLatin1Char(' '))
           << '\n'
           << Texto(QStringLiteral("CHK_Uso")) << " kalvex [--check | --version]\n";
    Libera_Fichero_Idiomas();
    return Estado_Uso;
}
