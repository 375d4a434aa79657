#include "Linea_Estado.h"

#include "Configuracion.h"
#include "Estado_Linea.h"
#include "Idiomas.h"
#include "UComunicaciones.h"
#include "USerialLine.h"

#include <QLabel>
#include <QTime>

#include <stdexcept>

TLinea_Estado::TLinea_Estado(QLabel* etiqueta) : etiqueta_(etiqueta) {
    // The label is the context: the line is followed for as long as it is there.
    QObject::connect(&Avisos_Linea(), &TAvisos_Linea::Cambiada, etiqueta_, [this] { Refresca(); });
}

void TLinea_Estado::Pon(const QString& estado, bool aviso) {
    estado_ = estado;
    aviso_ = aviso;
    Refresca();
}

void TLinea_Estado::Refresca() {
    const bool abierto = Puerto_Abierto();
    const QString texto = abierto ? estado_ : Texto_Puerto();
    if (etiqueta_->text() != texto)
        etiqueta_->setText(texto);
    const QString estilo =
        abierto && !aviso_ ? QString() : QStringLiteral("color: #c0392b; font-weight: bold;");
    if (etiqueta_->styleSheet() != estilo)
        etiqueta_->setStyleSheet(estilo);
}

bool TLinea_Estado::Puerto_Abierto() {
    try {
        const auto* linea = dynamic_cast<const TCustomSerialLine*>(&Enlace());
        return !linea || (linea->Connected() && linea->LineState() != TLineState::Gone);
    } catch (const std::logic_error&) {
        return true; // no link at all: nothing to say about a port
    }
}

QString TLinea_Estado::Texto_Puerto() {
    const TEstado_Linea& estado = Estado_Linea();
    if (!estado.Abierta && !estado.Texto.isEmpty())
        return estado.Texto;
    // No main window has worded it (a test without one).
    return Sys_Port + QStringLiteral(": ") +
           Texto(QStringLiteral("Port_St_NotOpen")).arg(QString());
}

QString TLinea_Estado::Hora() {
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
}
