#include "Menu_Monitor.h"

#include "Aviso_Ajustes.h"
#include "Configuracion.h"
#include "F_Monitor.h"
#include "Idiomas.h"
#include "Ventanas.h"

#include <QAction>
#include <QMenu>

TMenu_Monitor::TMenu_Monitor(QWidget* principal, QMenu* archivo, QAction* antes, QMenu* servicio)
    : QObject(principal) {
    LineLog1 = new QAction(Texto(QStringLiteral("Mon_MenuLog")), archivo);
    LineLog1->setObjectName(QStringLiteral("LineLog1"));
    LineLog1->setCheckable(true);
    LineLog1->setChecked(Lee_Registro_Linea());
    archivo->insertAction(antes, LineLog1);
    archivo->insertSeparator(antes);
    connect(LineLog1, &QAction::triggered, this, [principal](bool activo) {
        TF_Monitor* monitor = Ventanas().F_Monitor;
        QString causa;
        if (monitor && !monitor->Registro_Linea(activo, causa))
            Avisa_Ajustes(principal, causa, Texto(QStringLiteral("Set_ThisRunOnly")));
    });
    // A log that failed turned itself off: the item says so the next time the menu opens.
    connect(archivo, &QMenu::aboutToShow, this, [this] {
        if (const TF_Monitor* monitor = Ventanas().F_Monitor)
            LineLog1->setChecked(monitor->Registro_Linea());
    });

    LineMonitor1 = servicio->addAction(Texto(QStringLiteral("Mon_MenuMonitor")));
    LineMonitor1->setObjectName(QStringLiteral("LineMonitor1"));
    connect(LineMonitor1, &QAction::triggered, this, [] {
        if (TF_Monitor* monitor = Ventanas().F_Monitor) {
            monitor->show();
            monitor->raise();
            monitor->activateWindow();
        }
    });
}
