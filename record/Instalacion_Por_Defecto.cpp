#include "Instalacion_Por_Defecto.h"

#include "Carpetas.h"

QString Carpeta_Instalaciones() {
    return Carpeta_Datos_Usuario();
}

QString Instalacion_Por_Defecto() {
    return Carpeta_Instalaciones() + QStringLiteral("/installation") + EXTENSION_INSTALACION;
}
