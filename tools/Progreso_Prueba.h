#pragma once
// How far a devices test has got, as the window's progress line says it: "37 of 100 — 12
// answered — about 26 s left" after each code, and a summary when the test ends.

#include <QString>

class TProgreso_Prueba {
public:
    // A test of total codes starts. Its texts are looked up here, once: the language file is
    // read from disk at each lookup, which every code of a fast range would pay for.
    void Empieza(int total);
    void Cuenta(bool respondido);

    int Total() const { return total_; }
    int Probados() const { return probados_; }
    bool Completa() const { return probados_ == total_; }

    // The line while the test runs; transcurrido_ms since Empieza. The time left is the time
    // per code so far times the codes still to test; before the first code there is none.
    QString Linea(qint64 transcurrido_ms) const;
    // The codes tested, answered and silent; a test that ended early says after how many.
    // Empty when no code was tested.
    QString Resumen() const;

private:
    int total_ = 0;
    int probados_ = 0;
    int respondidos_ = 0;
    QString segundos_, minutos_, empieza_, resumen_, parada_, uno_si_, uno_no_;
};
