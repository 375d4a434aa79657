#pragma once
// Objects of a JSON text that name a member twice: the JSON reader keeps the last of them
// without a word, so whoever reads a file must look for them in its text.

#include <QByteArray>
#include <QString>

// True, with the name (escapes decoded, as the reader decodes it) in clave, when an object of
// texto names a member twice. texto is JSON that the reader accepted, which bounds its
// nesting; the scan needs no recursion all the same.
bool Clave_Repetida(const QByteArray& texto, QString& clave);
