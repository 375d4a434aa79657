#include "Errores.h"

#include "Configuracion.h"
#include "DECODER2.h"
#include "Idiomas.h"
#include "UVentana_Kalvex.h"

#include <QApplication>
#include <QMessageBox>

void Muestra_Error(const std::exception& error) {
    // The link below the texts cannot translate its own refusal; it is put into the user's
    // language here.
    QString texto = dynamic_cast<const EDecoderBusy*>(&error) ? Texto(QStringLiteral("GEN_MEN036"))
                                                              : QString::fromUtf8(error.what());
    QMessageBox caja(QMessageBox::Critical, Titulo_Kalvex(), texto, QMessageBox::Ok,
                     QApplication::activeWindow());
    // Kept above the editors that stay on top, whichever window had the focus.
    Sobre_Su_Ventana(&caja);
    caja.exec();
}
