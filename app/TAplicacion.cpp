#include "TAplicacion.h"

#include "Configuracion.h"
#include "DECODER2.h"
#include "Idiomas.h"

#include <QMessageBox>

TAplicacion::TAplicacion(int& argc, char** argv) : QApplication(argc, argv) {}

bool TAplicacion::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        Muestra_Error(error);
    }
    return false;
}

void Muestra_Error(const std::exception& error) {
    // The link below the texts cannot translate its own refusal; it is put into the user's
    // language here.
    QString texto = dynamic_cast<const EDecoderBusy*>(&error) ? Texto(QStringLiteral("GEN_MEN036"))
                                                              : QString::fromUtf8(error.what());
    QMessageBox::critical(QApplication::activeWindow(), Titulo_Kalvex(), texto);
}
