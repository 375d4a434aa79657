#include "Aviso_Ajustes.h"

#include "Configuracion.h"
#include "Idiomas.h"
#include "UVentana_Kalvex.h"

#include <QDir>
#include <QMessageBox>

QString Aviso_Ajustes(const QString& causa, const QString& consecuencia) {
    const QString aviso = Texto(QStringLiteral("Set_NotWritten"))
                              .arg(QDir::toNativeSeparators(Fichero_Ajustes()), causa);
    return consecuencia.isEmpty() ? aviso : aviso + QLatin1Char('\n') + consecuencia;
}

void Avisa_Ajustes(QWidget* ventana, const QString& causa, const QString& consecuencia) {
    QMessageBox caja(QMessageBox::Warning, Titulo_Kalvex(), Aviso_Ajustes(causa, consecuencia),
                     QMessageBox::Ok, ventana);
    caja.setObjectName(QStringLiteral("Aviso_Ajustes"));
    Sobre_Su_Ventana(&caja);
    caja.exec();
}
