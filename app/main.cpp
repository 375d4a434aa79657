// Kalvex: programs the decoders of a door-entry installation over a serial line.

#include "Comprobacion.h"
#include "Configuracion.h"
#include "Consola.h"
#include "F_Principal.h"
#include "Opciones.h"
#include "Programa.h"
#include "TAplicacion.h"
#include "Ventanas.h"

#include <QTextStream>

int main(int argc, char** argv) {
    Conecta_Consola_Padre();
    // The check and the version show no window, so they need no display either.
    QStringList crudos;
    for (int i = 1; i < argc; ++i)
        crudos << QString::fromLocal8Bit(argv[i]);
    const TOrden pedida = Lee_Orden(crudos);
    if ((pedida == TOrden::Comprobacion || pedida == TOrden::Version) &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    TAplicacion app(argc, argv);
    const QStringList argumentos = QCoreApplication::arguments().mid(1);
    QTextStream salida(stdout);
    switch (Lee_Orden(argumentos)) {
    case TOrden::Version:
        salida << Titulo_Kalvex() << '\n';
        return 0;
    case TOrden::Comprobacion:
        return Comprueba_Instalacion(salida);
    case TOrden::Desconocida: {
        QTextStream errores(stderr);
        return Orden_Desconocida(argumentos, errores);
    }
    case TOrden::Programa:
        break;
    }
    TPrograma programa;
    Ventanas().F_Princ->show();
    return app.exec();
}
