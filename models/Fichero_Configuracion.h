#pragma once
// A decoder's configuration as a file: UTF-8 JSON, indented, one value per line, so that two
// configurations can be read and compared with any text tool.
//
// {
//     "format": "kalvex-decoder-configuration",
//     "format_version": 1,
//     "model": 6758,
//     "date": "2025-03-14T10:32:05+01:00",
//     "installation": "Calle Mayor 12",          (only while an installation is open)
//     "program": "3.3",
//     "read_out": true,                           (the current values come from a read-out)
//     "new": [
//         {"field": "Edit1", "place": "Output 1, Value", "value": "123"},
//         {"field": "Edit25", "place": "Output 1, Time", "value": "30"},
//         {"field": "ComboBoxEx9", "place": "Output 1, In", "value": 1, "shown": "Minutes"},
//         …
//     ],
//     "current": [ the same fields, as last read ]
// }
//
// A value is keyed by the object name of its Current control in both lists; "value" is a
// text, a list item (a number, -1 for none; "shown" is its text, for the reader only) or a
// check box's state (true or false). "place" is for the reader too.

#include <QByteArray>
#include <QDateTime>
#include <QJsonValue>
#include <QList>
#include <QString>

struct TValor_Fichero {
    QString Campo;
    QString Lugar;
    QJsonValue Valor;
    QString Mostrado; // a list item's text; empty for other values
};

struct TFichero_Configuracion {
    int Referencia = 0; // the model, 6758
    QDateTime Fecha;
    QString Instalacion; // empty: none was open
    QString Programa;
    bool Leida = false;
    QList<TValor_Fichero> Nuevos;
    QList<TValor_Fichero> Actuales;
};

// Why bytes are not a configuration file.
enum class TFallo_Fichero {
    Ninguno,
    Demasiado_Grande, // far larger than any configuration
    Truncado,         // ends before the text does
    Sintaxis,         // not JSON from Posicion on
    Anidado,          // lists or objects nested deeper than any configuration, at Posicion
    Ajeno,            // JSON, but not this program's configuration file
    Mas_Reciente,     // a later format than this program reads
    Estructura,       // a member of the format (Miembro) is missing, repeated or of the wrong kind
};

struct TLectura_Fichero {
    TFallo_Fichero Fallo = TFallo_Fichero::Ninguno;
    qint64 Posicion = 0; // Sintaxis, Anidado: the byte where reading stopped
    QString Miembro;     // Estructura: "new", "model" …
    TFichero_Configuracion Fichero;
};

// Larger than any model's file by far; a larger file is refused unread.
constexpr qint64 Mayor_Fichero_Configuracion = 1 << 20;

QByteArray Escribe_Configuracion(const TFichero_Configuracion& fichero);
// Checks the format only; whether the values suit an editor is the editor's to judge.
TLectura_Fichero Lee_Configuracion(const QByteArray& bytes);
