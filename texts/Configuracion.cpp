#include "Configuracion.h"

#include "Carpetas.h"
#include "TIniFile.h"

QString Sys_Port;
QString Idioma;

namespace {

const QString kSeccion = QStringLiteral("General");
const QString kClavePuerto = QStringLiteral("Sys_Port");
const QString kClaveIdioma = QStringLiteral("Idioma");
const QString kClaveRegistro = QStringLiteral("Line_Log");

TIniFile Fichero_Configuracion() {
    return TIniFile(Carpeta_Configuracion() + QStringLiteral("/KALVEX.INI"));
}

} // namespace

void Lee_Configuracion() {
    const TIniFile ini = Fichero_Configuracion();
    Sys_Port = ini.ReadString(kSeccion, kClavePuerto, QStringLiteral("COM1"));
    Idioma = ini.ReadString(kSeccion, kClaveIdioma, QStringLiteral("ENGLISH"));
}

void Guarda_Configuracion() {
    TIniFile ini = Fichero_Configuracion();
    ini.WriteString(kSeccion, kClavePuerto, Sys_Port);
    ini.WriteString(kSeccion, kClaveIdioma, Idioma);
}

bool Lee_Registro_Linea() {
    return Fichero_Configuracion().ReadString(kSeccion, kClaveRegistro, QString()) ==
           QLatin1String("1");
}

void Guarda_Registro_Linea(bool activo) {
    Fichero_Configuracion().WriteString(kSeccion, kClaveRegistro,
                                        activo ? QStringLiteral("1") : QStringLiteral("0"));
}

QString Titulo_Kalvex() {
    return QStringLiteral("Kalvex ") + VERSION_APP;
}

QString Titulo_Kalvex(const QString& ventana) {
    return Titulo_Kalvex() + QStringLiteral(" \u2014 ") + ventana;
}
