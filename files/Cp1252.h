#pragma once
// Windows-1252, the code page of the settings and language files.

#include <QByteArray>
#include <QString>

// Every byte has a character: the five bytes the code page leaves unassigned map to the
// control characters of the same value, as Windows itself does, so decoding never fails and
// a decoded text encodes back to the same bytes.
QString Desde_Cp1252(const QByteArray& bytes);

// Characters the code page cannot hold become '?'.
QByteArray A_Cp1252(const QString& text);
