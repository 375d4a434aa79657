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
const QString kClaveRelectura = QStringLiteral("Read_Back");

const QString kPuertoNormal = QStringLiteral("COM1");
const QString kIdiomaNormal = QStringLiteral("ENGLISH");

TIniFile Fichero_Configuracion() {
    return TIniFile(Fichero_Ajustes());
}

} // namespace

QString Fichero_Ajustes() {
    return Carpeta_Configuracion() + QStringLiteral("/KALVEX.INI");
}

void Lee_Configuracion() {
    const TIniFile ini = Fichero_Configuracion();
    Sys_Port = ini.ReadString(kSeccion, kClavePuerto, kPuertoNormal);
    Idioma = ini.ReadString(kSeccion, kClaveIdioma, kIdiomaNormal);
}

bool Guarda_Configuracion(QString& causa) {
    return Fichero_Configuracion().WriteStrings(
        kSeccion, {{kClavePuerto, Sys_Port}, {kClaveIdioma, Idioma}}, causa);
}

bool Configuracion_Guardada() {
    const TIniFile ini = Fichero_Configuracion();
    return ini.ReadString(kSeccion, kClavePuerto, kPuertoNormal) == Sys_Port &&
           ini.ReadString(kSeccion, kClaveIdioma, kIdiomaNormal) == Idioma;
}

bool Lee_Registro_Linea() {
    return Fichero_Configuracion().ReadString(kSeccion, kClaveRegistro, QString()) ==
           QLatin1String("1");
}

bool Guarda_Registro_Linea(bool activo, QString& causa) {
    return Fichero_Configuracion().WriteStrings(
        kSeccion, {{kClaveRegistro, activo ? QStringLiteral("1") : QStringLiteral("0")}}, causa);
}

bool Lee_Relectura() {
    return Fichero_Configuracion().ReadString(kSeccion, kClaveRelectura, QString()) !=
           QLatin1String("0");
}

bool Guarda_Relectura(bool activa, QString& causa) {
    return Fichero_Configuracion().WriteStrings(
        kSeccion, {{kClaveRelectura, activa ? QStringLiteral("1") : QStringLiteral("0")}}, causa);
}

QString Titulo_Kalvex() {
    return QStringLiteral("Kalvex ") + VERSION_APP;
}

QString Titulo_Kalvex(const QString& ventana) {
    return Titulo_Kalvex() + QStringLiteral(" \u2014 ") + ventana;
}
