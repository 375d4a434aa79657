#pragma once
// The marks on the New column. What a Save will change, shown before it is pressed: each New
// control whose value differs from its Current control is tinted and bold, and its tool-tip
// says from what to what. What the last Save wrote and the decoder did not acknowledge: the
// control is tinted red, and its tool-tip says so, for as long as it holds the value written.
// Both kinds can be on one control: the red tint wins, the bold type and both tool-tip lines
// stay. A value the read-back after a Save found different from what the Save wrote is
// marked red the same way, its tool-tip saying what the decoder holds.
//
// "Will change" compares with what the decoder is known to hold: the Current control while
// a read-out is known, unless a write the decoder acknowledged since then says otherwise. An
// unmarked control is exactly as it was built: the palette and font it inherits (New controls set
// none of their own) and no tool-tip.

#include <QColor>
#include <QJsonValue>
#include <QList>
#include <QPair>
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
    // The New controls whose value the read-back found different, each with its tool-tip
    // ("the decoder holds 0102, Save wrote 0112"); marked as long as they hold what was written.
    void Pon_Difiere(const QList<QPair<QWidget*, QString>>& nuevos);
    // The decoder acknowledged the values these New controls hold: they are known to be in it.
    void Anota_Escritos(const QList<QWidget*>& nuevos);
    // A read-out has begun: what was written before is no longer the latest word.
    void Olvida_Escritos();
    // What the decoder is known to hold in the place of this New control: the value written
    // and acknowledged since the read-out, or, when `leido`, the Current control's value.
    std::optional<QJsonValue> Conocido(const QWidget* nuevo, bool leido) const;
    // Whether every value is known (`leido`, or each one written since).
    bool Todo_Conocido(bool leido) const;
    // Marks every New control that differs from what the decoder is known to hold, and every
    // one whose value is not known (Save writes every value); returns how many. A control no
    // longer holding the value that was not acknowledged loses that mark.
    int Actualiza(bool leido);
    // The value as the user reads it, in a control of the type of `control`.
    QString Texto_Valor(const QWidget* control, const QJsonValue& valor) const;

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
        QString Texto_Rojo = {}; // the red mark's tool-tip line (empty: not acknowledged)
        std::optional<QJsonValue> Escrito = std::nullopt; // acknowledged since the read-out
    };
    const TPar* Par(const QWidget* nuevo) const;
    void Marca(TPar& par, bool cambio, bool sin_acuse) const;

    QList<TPar> pares_;
    TTextos textos_;
};
