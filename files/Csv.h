#pragma once
// CSV as spreadsheet programs read it, for every export of the program: fields between
// commas, quoted as RFC 4180 says, and nothing a spreadsheet would run as a formula.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One line, without its line ending. A field that holds a comma, a quote or a line break is
// quoted; a field that starts as a formula would (= + - @, tab, carriage return) gets a
// leading apostrophe, so that a typed "=…" stays text.
QString Linea_Csv(const QStringList& campos);

// A whole file: UTF-8 with a byte-order mark, so that accents read right, and CR LF after
// every line.
QByteArray Fichero_Csv(const QList<QStringList>& filas);
