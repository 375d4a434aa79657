#include "Instalacion_Por_Defecto.h"

#include "Carpetas.h"

QString Instalacion_Por_Defecto() {
    return Carpeta_Instalaciones() + QStringLiteral("/installation") + EXTENSION_INSTALACION;
}
