#pragma once
// How values, codes and acknowledgements are stored in the database's text columns: compact
// JSON with plain English member names, so that any SQLite tool shows them readably.

#include "Registro.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

QString Json_Valores(const QList<TValor_Registro>& valores);
QString Json_Codigos(const QList<TCodigo_Registro>& codigos);
QString Json_Aceptadas(const QList<bool>& aceptadas);
// A phrase in a text column: empty, a literal's text as it stands, or its parts as JSON
// (["Output 2, ", {"key": "GEN_MEN04"}]). A text that is not such JSON is a literal, as every
// text an earlier version stored is.
QString Texto_Frase(const TFrase& frase);
TFrase Frase_Texto(const QString& texto);

// Text that is not what the functions above write gives an empty list.
QList<TValor_Registro> Valores_Json(const QString& json);
QList<TCodigo_Registro> Codigos_Json(const QString& json);
QList<bool> Aceptadas_Json(const QString& json);

// Times are stored in UTC as ISO 8601 with milliseconds ("2026-12-08T09:32:05.120Z"); an
// invalid time is stored as NULL, and read back in local time.
QString Momento_Texto(const QDateTime& momento);
QDateTime Momento_Leido(const QString& texto);
