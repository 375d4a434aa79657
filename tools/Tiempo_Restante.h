#pragma once
// The time left of a run of codes (a devices test, a survey), as their progress lines say it.
// The time per code is the mean so far; once a tenth of the codes is done, one code moves it
// by a quarter at most, so a run of silent codes after answered ones (or one slow code) does
// not make the estimate jump.

#include <QtGlobal>

class TTiempo_Restante {
public:
    void Empieza(int total);
    // `hechos` codes are done, transcurrido_ms after the start.
    void Cuenta(int hechos, qint64 transcurrido_ms);

    // Rounded up, and at least 1 s while codes remain ("about 0 s" would read as done); in
    // minutes from two on (from one, rounding would double the estimate at a step: 89 s is
    // "1 min", 90 s "2 min").
    struct TQueda {
        qint64 Valor = 0;
        bool Minutos = false;
    };
    TQueda Queda() const;

private:
    int total_ = 0;
    int hechos_ = 0;
    double por_codigo_ms_ = 0;
};
