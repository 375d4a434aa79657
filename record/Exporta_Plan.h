#pragma once
// The code plan written out: a CSV file for a spreadsheet (one row per code and per free run
// of each space that holds codes, under a header row in the user's language), and the page
// the handover report ends with.

#include <QByteArray>
#include <QString>

class TPlan_Codigos;

QByteArray Texto_Csv_Plan(const TPlan_Codigos& plan);

// The report's page as HTML, starting on a new page; every text from the record is escaped.
QString Html_Plan(const TPlan_Codigos& plan);
