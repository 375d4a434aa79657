#pragma once
// How the program writes a moment in its exports and reports.

#include <QDateTime>
#include <QString>

// "2026-12-08 14:05:09" in local time, a form every language and spreadsheet reads alike;
// empty when the moment is invalid (never read, never saved).
QString Momento_Iso(const QDateTime& momento);
