#pragma once
// File ▸ Installation: New…, Open…, the recent files, the site's name, the Installation
// window and the Code plan window; and the label of the main window that says which
// installation is open.

#include <QList>
#include <QObject>

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QTimer;
class TInstalacion_Abierta;

class TMenu_Instalacion : public QObject {
    Q_OBJECT
public:
    // Adds the submenu to `archivo` before `antes`; `rotulo` names the open installation.
    TMenu_Instalacion(QMainWindow* principal, QMenu* archivo, QAction* antes,
                      TInstalacion_Abierta* instalacion, QLabel* rotulo);

    QMenu* Installation1;
    QAction* Nueva1;
    QAction* Abrir1;
    QAction* Sitio1;
    QAction* Mostrar1;
    QAction* Plan1;
    QLabel* Instalacion_Actual;

    // What the dialogs would ask, for the tests: the file of New or Open, the site's name.
    void Nueva(const QString& fichero);
    void Abre(const QString& fichero);
    bool Pon_Sitio(const QString& sitio);
    void Muestra();
    void Muestra_Plan();
    // What the user must hear about the installation opened at start: its file is gone (and
    // what to do), or what the record says of it (set aside, read-only).
    void Avisa();

private:
    // The last installation's file is gone: look again, open another, start a new one, or
    // go on without recording.
    void Pregunta_Ausente();
    void Pide_Nueva();
    void Pide_Abrir();
    void Pide_Sitio();
    void Rellena_Recientes();
    // The label, and the windows on the open record, read again soon.
    void Cambiado();
    void Actualiza_Ventanas();

    QMainWindow* principal_;
    TInstalacion_Abierta* instalacion_;
    QList<QAction*> recientes_;
    QAction* fin_recientes_;
    // Many recordings in a row (a devices test) read the record once.
    QTimer* relectura_;
};
