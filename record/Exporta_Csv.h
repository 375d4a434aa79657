#pragma once
// The installation's last known configurations as a CSV file for a spreadsheet: one row per
// value of each decoder, under a header row in the user's language.
//
// UTF-8 with a byte-order mark, so that spreadsheet programs read accents right; commas
// between fields, CR LF between rows, and fields quoted as RFC 4180 says. A field that a
// spreadsheet would take for a formula (a location typed as "=…") gets a leading apostrophe.

#include <QByteArray>
#include <QString>

struct TInstantanea;

QByteArray Texto_Csv(const TInstantanea& instantanea);

// Writes the file whole or not at all. False when it could not, with the system's reason in
// causa; an existing file is then left as it was.
bool Exporta_Csv(const TInstantanea& instantanea, const QString& fichero, QString& causa);
