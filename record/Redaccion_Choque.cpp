#include "Redaccion_Choque.h"

#include "Idiomas.h"
#include "Presenta_Registro.h"

TRedaccion_Choque::TRedaccion_Choque()
    : con_ubicacion_(Texto(QStringLiteral("GEN_MEN050"))),
      sin_ubicacion_(Texto(QStringLiteral("GEN_MEN051"))),
      leido_(Texto(QStringLiteral("GEN_MEN052"))), sondeado_(Texto(QStringLiteral("Reg_Surveyed"))),
      grabado_(Texto(QStringLiteral("GEN_MEN053"))), fecha_(Texto(QStringLiteral("GEN_MEN054"))) {}

QString TRedaccion_Choque::Linea(const TCodigo_Registro& codigo, const TDecoder_Registro& otro,
                                 const TCodigo_Registro& suyo, const QDate& hoy) const {
    // A Save after the last read-out set what the decoder now answers; a never-saved decoder
    // has an invalid Save time.
    const bool grabado =
        otro.Ultima_Grabacion.isValid() &&
        (!otro.Ultima_Lectura.isValid() || otro.Ultima_Grabacion > otro.Ultima_Lectura);
    const QDateTime momento = grabado ? otro.Ultima_Grabacion : otro.Ultima_Lectura;
    const QString& tipo = grabado ? grabado_ : otro.Sondeado ? sondeado_ : leido_;
    const QString formato =
        momento.date() == hoy ? QStringLiteral("HH:mm") : fecha_ + QStringLiteral(" HH:mm");
    const QString cuando = tipo.arg(momento.toString(formato));
    const QString modelo = Referencias(otro.Referencia, otro.Posibles, redaccion_);
    const QString lugar = redaccion_.Redacta(suyo.Lugar);
    const QString ubicacion = otro.Ubicacion.trimmed();
    return ubicacion.isEmpty() ? sin_ubicacion_.arg(codigo.Texto, lugar, modelo, cuando)
                               : con_ubicacion_.arg(codigo.Texto, lugar, modelo, ubicacion, cuando);
}

QString TRedaccion_Choque::Par(const TChoque_Registro& c, const TInstantanea& instantanea,
                               const QDate& hoy) const {
    const TDecoder_Registro* uno = instantanea.Busca(c.Decoder);
    const TDecoder_Registro* otro = instantanea.Busca(c.Otro);
    if (!uno || !otro)
        return {};
    return Linea(c.Codigo_Otro, *uno, c.Codigo, hoy) + QStringLiteral(" \u2194 ") +
           Linea(c.Codigo, *otro, c.Codigo_Otro, hoy);
}
