#pragma once
// How far a devices test has got, as the window's progress line says it: "37 of 100 — 12
// answered — about 26 s left" after each code, and a summary when the test ends.

#include "Tiempo_Restante.h"

#include <QString>

class TProgreso_Prueba {
public:
    // A test of total codes starts. Its texts are looked up here, once: the language file is
    // read from disk at each lookup, which every code of a fast range would pay for.
    void Empieza(int total);
    // A code done, transcurrido_ms after Empieza.
    void Cuenta(bool respondido, qint64 transcurrido_ms);

    int Total() const { return total_; }
    int Probados() const { return probados_; }
    bool Completa() const { return probados_ == total_; }

    // The line while the test runs, with the time left (TTiempo_Restante) after the first
    // code.
    QString Linea() const;
    // The codes tested, answered and silent; a test that ended early says after how many.
    // Empty when no code was tested.
    QString Resumen() const;

private:
    int total_ = 0;
    int probados_ = 0;
    int respondidos_ = 0;
    TTiempo_Restante queda_;
    QString segundos_, minutos_, empieza_, resumen_, parada_, uno_si_, uno_no_;
};
