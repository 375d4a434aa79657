#pragma once
// The devices test's rows as a CSV file for a spreadsheet, headed in the user's language.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

struct TFila_Prueba {
    QString Dispositivo; // the number as the list shows it ("0007")
    QString Tipo;        // the type's caption
    bool Respondido;
    QString Decoder;   // the serving decoder's name; empty when the code was silent
    QDateTime Momento; // when the code was queried
};

// Device, type, answered (yes/no), decoder and the time of the query, one line per row in
// the given order.
QByteArray Texto_Csv_Prueba(const QList<TFila_Prueba>& filas);
