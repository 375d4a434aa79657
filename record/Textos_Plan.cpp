#include "Textos_Plan.h"

#include "Idiomas.h"
#include "Presenta_Registro.h"

#include <QStringList>

namespace {

QString Clave(const char* clave) {
    return Texto(QString::fromLatin1(clave));
}

} // namespace

TTextos_Plan::TTextos_Plan()
    : espacios_{Clave("Plan_Sp_Call"),     Clave("Plan_Sp_Panel"), Clave("Plan_Sp_Sensor"),
                Clave("Plan_Sp_Relay"),    Clave("Plan_Sp_Range"), Clave("Plan_Sp_Address"),
                Clave("Plan_Sp_Digitizer")},
      resumen_(Clave("Plan_Summary")), libre_(Clave("Plan_Free")), choque_(Clave("Plan_Clash")) {}

const QString& TTextos_Plan::Espacio(TEspacio_Codigo espacio) const {
    return espacios_.at(static_cast<int>(espacio));
}

QString TTextos_Plan::Resumen(const TEspacio_Plan& espacio) const {
    return resumen_.arg(Espacio(espacio.Espacio), QString::number(espacio.Codigos),
                        QString::number(espacio.Libres), QString::number(espacio.Con_Choque));
}

QString TTextos_Plan::Codigo(const TEspacio_Plan& espacio, const TFila_Plan& fila) const {
    return fila.Libre ? Texto_Tramo(espacio.Espacio, fila.Desde, fila.Hasta) : fila.Codigo.Texto;
}

QString TTextos_Plan::Libre(const TEspacio_Plan& espacio, const TFila_Plan& fila) const {
    return libre_.arg(Codigo(espacio, fila), QString::number(fila.Cuantos()));
}

QString TTextos_Plan::Choque(const TEspacio_Plan& espacio, const TFila_Plan& fila) const {
    if (fila.Choques.isEmpty())
        return {};
    QStringList otros;
    for (int f : fila.Choques) {
        const TFila_Plan& otro = espacio.Filas.at(f);
        QString quien = Referencias(otro.Referencia, otro.Posibles, redaccion_);
        if (!otro.Ubicacion.trimmed().isEmpty())
            quien += QLatin1Char(' ') + otro.Ubicacion.trimmed();
        otros << quien + QStringLiteral(" (") + redaccion_.Redacta(otro.Codigo.Lugar) +
                     QLatin1Char(')');
    }
    return choque_.arg(otros.join(QStringLiteral("; ")));
}
