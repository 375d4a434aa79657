#pragma once
// The marks on the New column. What a Save will change, shown before it is pressed: each New
// control whose value differs from its Current control is tinted and bold, and its tool-tip
// says from what to what. What the last Save wrote and the decoder did not acknowledge: the
// control is tinted red, and its tool-tip says so, for as long as it holds the value written.
// Both kinds can be on one control: the red tint wins, the bold type and both tool-tip lines
// stay. An unmarked control is exactly as it was built: the palette and font it inherits (New
// controls set none of their own) and no tool-tip.

#include <QColor>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>

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
        QString Sin_Acuse; // a value written and not acknowledged
    };

    void Anade(QWidget* actual, QWidget* nuevo);
    void Pon_Textos(const TTextos& textos) { textos_ = textos; }
    // The New controls whose write the decoder did not acknowledge, with the values they hold
    // now; every other control loses that mark. Shown at the next Actualiza.
    void Pon_Sin_Acuse(const QList<QWidget*>& nuevos);
    // Marks every New control that differs from its Current one, or all of them while the
    // Current column holds no read-out (Save writes every value); returns how many. A control
    // no longer holding the value that was not acknowledged loses that mark.
    int Actualiza(bool leido);

    // The tints of a marked control's background.
    static const QColor Tinte;
    static const QColor Tinte_Sin_Acuse;

private:
    struct TPar {
        QWidget* Actual;
        QWidget* Nuevo;
        bool Cambio = false;    // as shown
        bool Sin_Acuse = false; // as shown
        std::optional<QJsonValue> No_Aceptado = std::nullopt;
    };
    void Marca(TPar& par, bool cambio, bool sin_acuse) const;

    QList<TPar> pares_;
    TTextos textos_;
};
