#include "Redaccion_Choque.h"

#include "Idiomas.h"

TRedaccion_Choque::TRedaccion_Choque()
    : con_ubicacion_(Texto(QStringLiteral("GEN_MEN050"))),
      sin_ubicacion_(Texto(QStringLiteral("GEN_MEN051"))),
      leido_(Texto(QStringLiteral("GEN_MEN052"))), grabado_(Texto(QStringLiteral("GEN_MEN053"))),
      fecha_(Texto(QStringLiteral("GEN_MEN054"))) {}

QString TRedaccion_Choque::Linea(const TCodigo_Registro& codigo, const TDecoder_Registro& otro,
                                 const TCodigo_Registro& suyo, const QDate& hoy) const {
    const bool leido = otro.Ultima_Lectura.isValid();
    const QDateTime momento = leido ? otro.Ultima_Lectura : otro.Ultima_Grabacion;
    const QString formato =
        momento.date() == hoy ? QStringLiteral("HH:mm") : fecha_ + QStringLiteral(" HH:mm");
    const QString cuando = (leido ? leido_ : grabado_).arg(momento.toString(formato));
    const QString modelo = QString::number(otro.Referencia);
    const QString ubicacion = otro.Ubicacion.trimmed();
    return ubicacion.isEmpty()
               ? sin_ubicacion_.arg(codigo.Texto, suyo.Lugar, modelo, cuando)
               : con_ubicacion_.arg(codigo.Texto, suyo.Lugar, modelo, ubicacion, cuando);
}
