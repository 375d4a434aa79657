#pragma once
// The application object. Its one job beyond QApplication: no exception crosses the event
// loop. The handlers catch their own (Atrapa); this is the last guard, for one that escapes
// them: it is shown in the error box and the program goes on.

#include <QApplication>

class TAplicacion : public QApplication {
public:
    TAplicacion(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
