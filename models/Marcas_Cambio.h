#pragma once
// What a Save will change, shown on the New column before it is pressed: each New control
// whose value differs from its Current control is tinted and bold, and its tool-tip says from
// what to what. An unmarked control is exactly as it was built: the palette and font it
// inherits (New controls set none of their own) and no tool-tip.

#include <QColor>
#include <QList>
#include <QString>

class QWidget;

class TMarcas_Cambio {
public:
    // The texts, looked up once per language rather than at every keystroke.
    struct TTextos {
        QString Cambia;   // "Will change: %1"
        QString Vacio;    // a value that is empty
        QString Sin_Leer; // the current value of a decoder not read
        QString Si;       // a check box's states
        QString No;
    };

    void Anade(QWidget* actual, QWidget* nuevo);
    void Pon_Textos(const TTextos& textos) { textos_ = textos; }
    // Marks every New control that differs from its Current one, or all of them while the
    // Current column holds no read-out (Save writes every value); returns how many.
    int Actualiza(bool leido);

    // The tint of a marked control's background.
    static const QColor Tinte;

private:
    struct TPar {
        QWidget* Actual;
        QWidget* Nuevo;
        bool Marcado = false;
    };
    void Marca(TPar& par, bool marcado) const;

    QList<TPar> pares_;
    TTextos textos_;
};
