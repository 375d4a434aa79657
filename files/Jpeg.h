#pragma once
// JPEG pictures decoded with libjpeg.

#include <QByteArray>
#include <QImage>

// The picture in RGB; a null image when the bytes are not a complete, valid JPEG (any
// warning about corrupt data counts as invalid) or the picture is unreasonably large.
QImage Decodifica_Jpeg(const QByteArray& bytes);
