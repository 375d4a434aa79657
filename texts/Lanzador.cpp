#include "Lanzador.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

void Abre_Web() {
    QDesktopServices::openUrl(QUrl(WEB_FABRICANTE));
}

void Lanza_Info_Sistema() {
    // Desktop system-information tools, most specific first; the last one at least shows the
    // machine's processes and resources.
    static const char* const kProgramas[] = {"hardinfo", "kinfocenter", "gnome-system-monitor"};
    for (const char* nombre : kProgramas) {
        const QString programa = QStandardPaths::findExecutable(QString::fromLatin1(nombre));
        if (!programa.isEmpty()) {
            QProcess::startDetached(programa, {});
            return;
        }
    }
}
