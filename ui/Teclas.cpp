#include "Teclas.h"

#include <QKeyEvent>

bool Tecla_Rechazada(const QKeyEvent* key) {
    const QString texto = key->text();
    if (texto.isEmpty() || key->key() == Qt::Key_Delete)
        return false;
    const char16_t c = texto[0].unicode();
    return !(c == 8 || c == 9 || c == 10 || c == 13 || c == ' ' || (c >= '0' && c <= '9'));
}
