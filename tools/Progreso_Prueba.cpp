#include "Progreso_Prueba.h"

#include "Idiomas.h"

#include <algorithm>

void TProgreso_Prueba::Empieza(int total) {
    total_ = total;
    probados_ = respondidos_ = 0;
    segundos_ = Texto(QStringLiteral("GEN_MEN118"));
    minutos_ = Texto(QStringLiteral("GEN_MEN119"));
    empieza_ = total == 1 ? Texto(QStringLiteral("GEN_MEN121"))
                          : Texto(QStringLiteral("GEN_MEN120")).arg(total);
    resumen_ = Texto(QStringLiteral("GEN_MEN122"));
    uno_si_ = Texto(QStringLiteral("GEN_MEN123"));
    uno_no_ = Texto(QStringLiteral("GEN_MEN124"));
    parada_ = Texto(QStringLiteral("GEN_MEN125"));
}

void TProgreso_Prueba::Cuenta(bool respondido) {
    ++probados_;
    respondidos_ += respondido;
}

QString TProgreso_Prueba::Linea(qint64 transcurrido_ms) const {
    if (probados_ == 0)
        return empieza_;
    if (Completa())
        return Resumen();
    const qint64 quedan_ms = transcurrido_ms * (total_ - probados_) / probados_;
    // Rounded up: "about 0 s" while codes remain would read as done.
    const qint64 segundos = std::max<qint64>(1, (quedan_ms + 999) / 1000);
    // Beyond a minute, seconds are more precise than the estimate.
    const bool en_minutos = segundos >= 60;
    return (en_minutos ? minutos_ : segundos_)
        .arg(probados_)
        .arg(total_)
        .arg(respondidos_)
        .arg(en_minutos ? (segundos + 30) / 60 : segundos);
}

QString TProgreso_Prueba::Resumen() const {
    if (probados_ == 0)
        return {};
    const int silenciosos = probados_ - respondidos_;
    if (!Completa())
        return parada_.arg(probados_).arg(total_).arg(respondidos_).arg(silenciosos);
    if (total_ == 1)
        return respondidos_ ? uno_si_ : uno_no_;
    return resumen_.arg(total_).arg(respondidos_).arg(silenciosos);
}
