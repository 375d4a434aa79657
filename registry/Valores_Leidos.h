#pragma once
// What a read-out says a decoder holds, without a window: each data frame's value as the
// editor of its model shows it, and the whole configuration as that editor's Current column
// gives it to the installation record after the same read-out (and, for the sensors and
// relays decoders, after the reads of each output's time and setting that follow it). The
// editors decode their frames with the same functions; the survey, which reads decoders out
// without opening an editor, gives the record what this says.

#include "Datos_Modelos.h"
#include "Registro.h"
#include "Trama_Dec.h"

#include <QList>
#include <QMap>
#include <QString>

// The word of a data frame as four hexadecimal digits, high byte (b3) first.
QString Palabra_Leida(const Trama_Dec& trama);
// A code as a field of `ancho` digits shows it: the word's last digits (a class nibble
// before them is dropped), empty when they are all F (nothing stored).
QString Codigo_Leido(const Trama_Dec& trama, int ancho);

// A sensor's time byte as read (the decimal text a register read gives, empty without an
// answer): the count and whether it is in minutes. An unanswered read is the count -1, which
// Save refuses to write as a time.
struct TTiempo_Sensor {
    QString Cuenta;
    bool Minutos = false;
};
TTiempo_Sensor Tiempo_Sensor(const QString& leido);

// What the reads after a read-out gave for one output of a sensors or relays decoder, as the
// register access functions return it: the time as a decimal text (empty without an answer),
// and for relays the state ("ON" or "OFF").
struct TAjuste_Leido {
    QString Tiempo;
    QString Estado;
};

// The outputs (1 … 8) whose time and setting are read after the read-out: those with a code,
// as the decoder answers such a read only with the output's code. Empty for other models.
QList<int> Salidas_Con_Ajuste(const TModelo& modelo, const QList<Trama_Dec>& datos);
// The code of output n (1 … 8) as those reads carry it: three digits.
QString Codigo_Salida(const QList<Trama_Dec>& datos, int n);

// The configuration of a decoder of this model after a whole read-out (its data frames in
// order) and, for the sensors and relays decoders, the reads of Salidas_Con_Ajuste (by
// output). A model without data frames (the digitizer) gives none.
TConfiguracion Configuracion_Leida(const TModelo& modelo, const QList<Trama_Dec>& datos,
                                   const QMap<int, TAjuste_Leido>& ajustes = {});

// A surveyed decoder whose identification byte several models share, once the installer has
// said which it is: its configuration as a read-out of `modelo` gives it, from the values it
// was recorded with as a call decoder (which keeps each data frame's whole word) of the same
// number of frames.
TConfiguracion Configuracion_Decidida(const TModelo& modelo,
                                      const QList<TValor_Registro>& como_llamada);
