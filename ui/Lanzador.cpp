#include "Lanzador.h"

#include "Configuracion.h"
#include "Idiomas.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

namespace {

// System-information tools, most specific first; on Linux the last one at least shows the
// machine's processes and resources.
#ifdef Q_OS_WIN
const char* const kProgramas[] = {"msinfo32"};
#else
const char* const kProgramas[] = {"hardinfo", "kinfocenter", "gnome-system-monitor"};
#endif

void Avisa(const QString& texto) {
    QMessageBox aviso(QMessageBox::Warning, Titulo_Kalvex(), texto, QMessageBox::Ok,
                      QApplication::activeWindow());
    aviso.setObjectName(QStringLiteral("Aviso_Lanzador"));
    aviso.exec();
}

} // namespace

bool Abre_Direccion(const QUrl& direccion) {
    if (QDesktopServices::openUrl(direccion))
        return true;
    Avisa(Texto(QStringLiteral("GEN_MEN048")).arg(direccion.toString()));
    return false;
}

bool Abre_Web() {
    return Abre_Direccion(QUrl(WEB_FABRICANTE));
}

bool Lanza_Info_Sistema() {
    QStringList probados;
    for (const char* nombre : kProgramas) {
        probados << QString::fromLatin1(nombre);
        const QString programa = QStandardPaths::findExecutable(probados.back());
        if (!programa.isEmpty() && QProcess::startDetached(programa, {}))
            return true;
    }
    Avisa(Texto(QStringLiteral("GEN_MEN049")).arg(probados.join(QStringLiteral(", "))));
    return false;
}
