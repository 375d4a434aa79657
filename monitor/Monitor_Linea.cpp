#include "Monitor_Linea.h"

#include "DECODER2.h"
#include "Enrutado.h"

#include <QDateTime>

namespace {
// Often enough to look live, seldom enough that a burst of frames is one insertion.
constexpr int Vuelco_ms = 50;
// A long run of requests (a devices test) still shows its rows about once a second.
constexpr qint64 Espera_Maxima_ms = 1000;
} // namespace

TMonitor_Linea::TMonitor_Linea(TDECODER2* enlace, const TTextos_Monitor& textos, int capacidad,
                               const QString& carpeta_registro, QObject* parent)
    : QObject(parent), enlace_(enlace), textos_(textos), filas_(textos, capacidad),
      registro_(carpeta_registro) {
    QStringList titulos;
    for (int c = 0; c < static_cast<int>(TColumna::Cuantas); ++c)
        titulos << Titulo_Columna(static_cast<TColumna>(c), textos_);
    registro_.Pon_Cabecera(Linea_Texto(titulos));
    vuelco_.setSingleShot(true);
    vuelco_.setInterval(Vuelco_ms);
    connect(&vuelco_, &QTimer::timeout, this, &TMonitor_Linea::Vuelca_Si_Libre);
    nuevas_.reserve(256);
    enlace_->Observa(this);
}

TMonitor_Linea::~TMonitor_Linea() {
    enlace_->Observa(nullptr);
    Vuelca();
}

void TMonitor_Linea::Suceso(const TSuceso_Linea& suceso) noexcept {
    try {
        const TEnrutado& enrutado = Enrutado();
        nuevas_.push_back({QDateTime::currentMSecsSinceEpoch(), suceso, enrutado.Modelo_Activo,
                           static_cast<uint8_t>(enrutado.Lectura.Salida_Actual())});
        if (!vuelco_.isActive())
            vuelco_.start();
    } catch (...) {
        // Out of memory: the row is lost, the link goes on.
    }
}

void TMonitor_Linea::Vuelca_Si_Libre() {
    if (enlace_->En_Espera() && !nuevas_.empty() &&
        QDateTime::currentMSecsSinceEpoch() - nuevas_.front().Hora_ms < Espera_Maxima_ms) {
        vuelco_.start();
        return;
    }
    Vuelca();
}

void TMonitor_Linea::Vuelca() {
    vuelco_.stop();
    if (nuevas_.empty())
        return;
    std::vector<TFila_Linea> filas;
    filas.swap(nuevas_);
    nuevas_.reserve(256);
    if (registro_.Activo()) {
        for (const TFila_Linea& f : filas) {
            registro_.Anade(
                f.Hora_ms,
                Linea_Texto(Textos_Fila(f, hay_anterior_registro_ ? &anterior_registro_ : nullptr,
                                        textos_)));
            anterior_registro_ = f;
            hay_anterior_registro_ = true;
        }
    }
    if (!pausado_) {
        filas_.Anade(filas);
        return;
    }
    retenidas_.insert(retenidas_.end(), filas.begin(), filas.end());
    const auto sobran = static_cast<qint64>(retenidas_.size()) - filas_.Capacidad();
    if (sobran > 0) {
        retenidas_.erase(retenidas_.begin(), retenidas_.begin() + sobran);
        filas_.Cuenta_Descartadas(sobran);
    }
}

void TMonitor_Linea::Pausa(bool pausado) {
    if (pausado == pausado_)
        return;
    Vuelca();
    pausado_ = pausado;
    if (pausado_)
        return;
    filas_.Anade({retenidas_.begin(), retenidas_.end()});
    retenidas_.clear();
}
