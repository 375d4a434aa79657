#pragma once
// The application object. Its one job beyond QApplication: no exception crosses the event
// loop; each one that leaves a handler is shown in the error box and the program goes on.

#include <QApplication>

#include <exception>

class TAplicacion : public QApplication {
public:
    TAplicacion(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The application's error box: a critical message with the error's text.
void Muestra_Error(const std::exception& error);
