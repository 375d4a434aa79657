#pragma once
// The serial port as the main window's status line words it, for the editors' state lines:
// the main window tells it here whenever its status line changes, and the editors listen.
// Nothing is copied: the editors show the main window's own text.

#include <QObject>
#include <QString>

struct TEstado_Linea {
    bool Abierta = true; // nothing known yet: taken as open (a test without a main window)
    QString Texto;       // the whole status line: "COM1 — /dev/ttyS0: not open: not found"
};

class TAvisos_Linea : public QObject {
    Q_OBJECT
signals:
    void Cambiada();
};

const TEstado_Linea& Estado_Linea();
// The main window's status line changed; the listeners hear of it at once.
void Anota_Estado_Linea(const TEstado_Linea& estado);
TAvisos_Linea& Avisos_Linea();
// The main window is gone: nothing is known of the port any more (no one is told).
void Olvida_Estado_Linea();
