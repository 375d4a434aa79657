#include "Progreso_Grabacion.h"

#include "DECODER2.h"
#include "Idiomas.h"

#include <QLabel>

TProgreso_Grabacion::TProgreso_Grabacion(QLabel* linea, TDECODER2* enlace)
    : linea_(linea), antes_(linea->text()) {
    if (enlace)
        escucha_ = QObject::connect(
            enlace, &TDECODER2::Intento_Empezado, linea_,
            [this](int intento, int intentos) { Intento_Empezado(intento, intentos); });
}

TProgreso_Grabacion::~TProgreso_Grabacion() {
    QObject::disconnect(escucha_);
    linea_->setText(antes_);
}

void TProgreso_Grabacion::Muestra(const QString& que) {
    que_ = que;
    linea_->setText(que_);
}

void TProgreso_Grabacion::Intento_Empezado(int intento, int intentos) {
    // The first attempt of each request starts afresh: only a repeated one is news.
    if (intento <= 1) {
        linea_->setText(que_);
        return;
    }
    linea_->setText(que_ + QStringLiteral("  ") +
                    Texto(QStringLiteral("GEN_MEN144")).arg(intento).arg(intentos));
}
