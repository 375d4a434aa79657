#pragma once
// The editor's state line while its Save runs: what is being written and, while a decoder
// does not answer, which attempt is under way ("No answer — attempt 2 of 3"). The Save runs
// inside the click handler, but every request's wait serves events, so the line is painted as
// it changes. It listens to the link only while it lives and gives the line back as it found
// it however the Save ends (the editor then says how the Save went).

#include <QMetaObject>
#include <QString>

class QLabel;
class TDECODER2;

class TProgreso_Grabacion {
public:
    // Without the decoder link (a stand-in link) only what is being written is shown.
    TProgreso_Grabacion(QLabel* linea, TDECODER2* enlace);
    ~TProgreso_Grabacion();
    TProgreso_Grabacion(const TProgreso_Grabacion&) = delete;
    TProgreso_Grabacion& operator=(const TProgreso_Grabacion&) = delete;

    // What the next requests write, "Writing output 3 of 8…".
    void Muestra(const QString& que);

private:
    void Intento_Empezado(int intento, int intentos);

    QLabel* linea_;
    QString antes_;
    QString que_;
    QMetaObject::Connection escucha_;
};
