#include "Tiempo_Restante.h"

#include <algorithm>
#include <cmath>

void TTiempo_Restante::Empieza(int total) {
    total_ = total;
    hechos_ = 0;
    por_codigo_ms_ = 0;
}

void TTiempo_Restante::Cuenta(int hechos, qint64 transcurrido_ms) {
    hechos_ = hechos;
    if (hechos <= 0)
        return;
    constexpr double Paso = 1.25;
    const double media = static_cast<double>(transcurrido_ms) / hechos;
    const bool asentada = por_codigo_ms_ > 0 && 10 * (hechos - 1) >= total_;
    por_codigo_ms_ =
        asentada ? std::clamp(media, por_codigo_ms_ / Paso, por_codigo_ms_ * Paso) : media;
}

TTiempo_Restante::TQueda TTiempo_Restante::Queda() const {
    const double quedan_ms = por_codigo_ms_ * std::max(0, total_ - hechos_);
    const qint64 segundos = std::max<qint64>(1, static_cast<qint64>(std::ceil(quedan_ms / 1000)));
    if (segundos >= 120)
        return {(segundos + 30) / 60, true};
    return {segundos, false};
}
