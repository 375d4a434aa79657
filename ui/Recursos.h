#pragma once
// The pictures compiled into the program (resources/pictures): icons as PNG, photographs as
// JPEG decoded with libjpeg.

#include <QImage>
#include <QPixmap>
#include <QString>

// A PNG picture by file name ("libro.png"); a null pixmap when there is none.
QPixmap Imagen(const QString& nombre);
// A JPEG photograph by file name ("entrada.jpg"); a null image when missing or corrupt.
QImage Foto(const QString& nombre);
