#include "Progreso_Prueba.h"

#include "Idiomas.h"

#include <algorithm>
#include <cmath>

void TProgreso_Prueba::Empieza(int total) {
    total_ = total;
    probados_ = respondidos_ = 0;
    por_codigo_ms_ = 0;
    segundos_ = Texto(QStringLiteral("GEN_MEN118"));
    minutos_ = Texto(QStringLiteral("GEN_MEN119"));
    empieza_ = total == 1 ? Texto(QStringLiteral("GEN_MEN121"))
                          : Texto(QStringLiteral("GEN_MEN120")).arg(total);
    resumen_ = Texto(QStringLiteral("GEN_MEN122"));
    uno_si_ = Texto(QStringLiteral("GEN_MEN123"));
    uno_no_ = Texto(QStringLiteral("GEN_MEN124"));
    parada_ = Texto(QStringLiteral("GEN_MEN125"));
}

void TProgreso_Prueba::Cuenta(bool respondido, qint64 transcurrido_ms) {
    ++probados_;
    respondidos_ += respondido;
    constexpr double Paso = 1.25;
    const double media = static_cast<double>(transcurrido_ms) / probados_;
    const bool asentada = por_codigo_ms_ > 0 && 10 * (probados_ - 1) >= total_;
    por_codigo_ms_ =
        asentada ? std::clamp(media, por_codigo_ms_ / Paso, por_codigo_ms_ * Paso) : media;
}

QString TProgreso_Prueba::Linea() const {
    if (probados_ == 0)
        return empieza_;
    if (Completa())
        return Resumen();
    const double quedan_ms = por_codigo_ms_ * (total_ - probados_);
    // Rounded up: "about 0 s" while codes remain would read as done.
    const qint64 segundos = std::max<qint64>(1, static_cast<qint64>(std::ceil(quedan_ms / 1000)));
    // Minutes from two on: from one, rounding would double the estimate at a step (89 s is
    // "1 min", 90 s "2 min").
    const bool en_minutos = segundos >= 120;
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
