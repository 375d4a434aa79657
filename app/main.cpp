// Kalvex: programs the decoders of a door-entry installation over a serial line.

#include "Creacion_Ventanas.h"
#include "F_Principal.h"
#include "TAplicacion.h"
#include "Ventanas.h"

int main(int argc, char** argv) {
    TAplicacion app(argc, argv);
    Crea_Ventanas();
    Ventanas().F_Princ->show();
    const int result = app.exec();
    Destruye_Ventanas();
    return result;
}
