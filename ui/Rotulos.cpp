#include "Rotulos.h"

#include <QLabel>

QLabel* Crea_Etiqueta(const QString& nombre, const QString& texto, QWidget* parent) {
    auto* etiqueta = new QLabel(texto, parent);
    etiqueta->setObjectName(nombre);
    return etiqueta;
}

QLabel* Crea_Rotulo(const QString& nombre, const QString& texto, double escala, QWidget* parent,
                    const QString& color) {
    QLabel* rotulo = Crea_Etiqueta(nombre, texto, parent);
    QFont fuente = rotulo->font();
    fuente.setPointSizeF(fuente.pointSizeF() * escala);
    fuente.setBold(true);
    rotulo->setFont(fuente);
    if (!color.isEmpty())
        rotulo->setStyleSheet(QStringLiteral("color: %1;").arg(color));
    return rotulo;
}
