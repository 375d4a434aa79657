#pragma once
// The handover report: a PDF in the current language. Its first page holds the site, the
// date, who hands over to whom and the site's address and notes, a summary (decoders, those no
// read-out confirmed, clashes) and the lines the installer and the customer sign on; then one
// section per decoder holding its whole last known configuration and whether a read-out
// confirmed it, the clashes still present, and the code plan on pages of its own. One document
// for the whole installation, laid out once.

#include <QDateTime>
#include <QString>

struct TInstantanea;

// The report as HTML; every text that comes from the record or the user is escaped.
QString Html_Informe(const TInstantanea& instantanea, const QDateTime& fecha);

// Writes the PDF whole or not at all. False when it could not, with the system's reason in
// causa; an existing file is then left as it was.
bool Informe_Entrega(const TInstantanea& instantanea, const QString& fichero, QString& causa);
