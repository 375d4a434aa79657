#pragma once
// The rows of the record: what is written and read, on the record's own thread.
// Writes return false on failure after logging it; reads give what they could read.

#include "Instantanea.h"

#include <QHash>
#include <QSqlDatabase>

#include <functional>

// Runs the writes on the named connection as one transaction: all of them are stored, or none;
// when none, SQLite's reason in *causa.
bool En_Transaccion(const QString& conexion, const std::function<bool(QSqlDatabase&)>& escrituras,
                    QString* causa = nullptr);

bool Guarda_Decoder(QSqlDatabase& base, const TDecoder_Registro& decoder);
// A new event, its id in *id when asked; with *id set already, that event rewritten (a Save's
// outcome over its start).
bool Guarda_Evento(QSqlDatabase& base, qint64 decoder, const TEvento_Registro& evento,
                   qint64* id = nullptr);
// The values of each of the decoder's survey events, as `cambia` makes them of the values
// stored.
bool Cambia_Valores_Sondeos(
    QSqlDatabase& base, qint64 decoder,
    const std::function<QList<TValor_Registro>(const QList<TValor_Registro>&)>& cambia);
bool Guarda_Prueba(QSqlDatabase& base, const QDateTime& momento, const TPrueba_Registro& fila);
bool Guarda_Problema(QSqlDatabase& base, const QDateTime& momento,
                     const TProblema_Sondeo& problema);
// The site's facts by key.
inline const QString Dato_Nombre = QStringLiteral("name");
inline const QString Dato_Avance_Sondeo = QStringLiteral("survey_progress");
bool Guarda_Dato_Sitio(QSqlDatabase& base, const QString& clave, const QString& valor);
bool Guarda_Entrega(QSqlDatabase& base, const TDatos_Entrega& entrega);

// False in *leido when the table could not be read.
QList<TDecoder_Registro> Lee_Decoders(QSqlDatabase& base, bool* leido);
QString Lee_Dato_Sitio(QSqlDatabase& base, const QString& clave);
TDatos_Entrega Lee_Entrega(QSqlDatabase& base);
// Oldest first.
QList<TProblema_Registro> Lee_Problemas(QSqlDatabase& base);
// Each decoder's Saves since its last read-out, oldest first: what they wrote without an
// acknowledgement the decoder may hold.
QHash<qint64, QList<TEvento_Registro>> Lee_Grabaciones_Sin_Lectura(QSqlDatabase& base);
QList<TEvento_Registro> Lee_Historia(QSqlDatabase& base, qint64 decoder);
