#pragma once
// The record's tables. The file says its schema version in PRAGMA user_version; a file of a
// newer version is left as it is.

#include <QHash>
#include <QSqlDatabase>

constexpr int kVersion_Esquema = 2;

enum class TEsquema {
    Vacio,     // a database without tables: a new record
    Propio,    // this version's tables, all there
    Anterior,  // the first version's tables, all there: to be brought up to date
    Mas_Nuevo, // written by a newer version of the program
    Ajeno,     // some other database, or this schema with parts missing
};

TEsquema Comprueba_Esquema(QSqlDatabase& base);
// Creates the tables and sets the version, in one transaction. False on failure.
bool Crea_Esquema(QSqlDatabase& base);
// Brings a record of the first version up to date in one transaction: all of it, or nothing
// and the file as it was. False with SQLite's reason in `error`.
// The values an earlier version stored as words of `palabras` (word → key, in any language)
// become those keys, so that the decoders holding them are known again by their values.
bool Actualiza_Esquema(QSqlDatabase& base, const QHash<QString, QString>& palabras, QString& error);
