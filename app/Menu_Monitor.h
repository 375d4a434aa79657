#pragma once
// Re-programming ▸ Line monitor, and File ▸ Line log (checkable, kept in the settings). The
// monitor window is reached when the items are used: it is created after the main window.

#include <QObject>

class QAction;
class QMenu;
class QWidget;

class TMenu_Monitor : public QObject {
    Q_OBJECT
public:
    // Adds Line log to `archivo` before `antes`, and Line monitor at the end of `servicio`.
    TMenu_Monitor(QWidget* principal, QMenu* archivo, QAction* antes, QMenu* servicio);

    QAction* LineMonitor1;
    QAction* LineLog1;
};
