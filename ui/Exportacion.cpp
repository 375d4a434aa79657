#include "Exportacion.h"

#include "Aviso_Escritura.h"
#include "Carpetas.h"
#include "Configuracion.h"
#include "Dialogo_Fichero.h"
#include "UVentana_Kalvex.h"

#include <QDateTime>
#include <QDir>
#include <QMessageBox>

namespace {

// The site as a file name, without what a name may not hold on the systems the file may be
// copied to.
QString Nombre_Propuesto(const QString& sitio) {
    QString nombre = sitio.trimmed();
    for (QChar& c : nombre)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.isSpace())
            c = QLatin1Char('_');
    return nombre.isEmpty() ? QStringLiteral("Kalvex") : nombre;
}

} // namespace

QString Fichero_Propuesto(const QString& sitio, const QString& extension) {
    return QDir::home().filePath(Nombre_Propuesto(sitio) + QLatin1Char('.') + extension);
}

QString Fichero_Fechado(const QString& nombre, const QString& extension) {
    const QString carpeta = Carpeta_Datos_Usuario();
    QDir().mkpath(carpeta);
    return QDir(carpeta).filePath(
        nombre + QDateTime::currentDateTime().toString(QStringLiteral(" yyyy-MM-dd HH-mm.")) +
        extension);
}

QString Pide_Fichero_Exportacion(QWidget* ventana, const QString& titulo, const QString& sitio,
                                 const QString& extension) {
    return Pide_Fichero_En(ventana, titulo, Fichero_Propuesto(sitio, extension), extension);
}

QString Pide_Fichero_En(QWidget* ventana, const QString& titulo, const QString& propuesto,
                        const QString& extension) {
    TDialogo_Fichero dialogo(ventana, titulo);
    dialogo.setObjectName(QStringLiteral("Dialogo_Fichero"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setDefaultSuffix(extension);
    dialogo.setNameFilter(extension.toUpper() + QStringLiteral(" (*.") + extension +
                          QLatin1Char(')'));
    dialogo.selectFile(propuesto);
    Sobre_Su_Ventana(&dialogo);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return {};
    return dialogo.selectedFiles().constFirst();
}

bool Exporta(QWidget* ventana, const QString& fichero,
             const std::function<bool(const QString&, QString&)>& escribe) {
    QString causa;
    if (escribe(fichero, causa))
        return true;
    Avisa_Sobre(ventana, Aviso_Escritura(fichero, causa));
    return false;
}

void Avisa_Sobre(QWidget* ventana, const QString& texto) {
    QMessageBox caja(QMessageBox::Warning, Titulo_Kalvex(), texto, QMessageBox::Ok, ventana);
    Sobre_Su_Ventana(&caja);
    caja.exec();
}
