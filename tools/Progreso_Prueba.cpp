#include "Progreso_Prueba.h"

#include "Idiomas.h"

void TProgreso_Prueba::Empieza(int total) {
    total_ = total;
    probados_ = respondidos_ = 0;
    queda_.Empieza(total);
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
    queda_.Cuenta(probados_, transcurrido_ms);
}

QString TProgreso_Prueba::Linea() const {
    if (probados_ == 0)
        return empieza_;
    if (Completa())
        return Resumen();
    const TTiempo_Restante::TQueda queda = queda_.Queda();
    return (queda.Minutos ? minutos_ : segundos_)
        .arg(probados_)
        .arg(total_)
        .arg(respondidos_)
        .arg(queda.Valor);
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
