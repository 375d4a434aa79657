#include "UVentana_Kalvex.h"

#include "Configuracion.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

TVentana_Kalvex::TVentana_Kalvex(const QString& nombre, Qt::WindowFlags flags, QWidget* parent)
    : QDialog(parent, Qt::Dialog | flags) {
    setObjectName(nombre);
    setWindowTitle(Titulo_Kalvex());
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, Qt::white);
    setPalette(paleta);
    setAutoFillBackground(true);
}

// Placed before it appears, so it never shows up elsewhere first.
void TVentana_Kalvex::setVisible(bool visible) {
    if (visible && !isVisible()) {
        adjustSize();
        if (const QScreen* pantalla = QGuiApplication::primaryScreen()) {
            QRect marco = geometry();
            marco.moveCenter(pantalla->availableGeometry().center());
            move(marco.topLeft());
        }
    }
    QDialog::setVisible(visible);
}
