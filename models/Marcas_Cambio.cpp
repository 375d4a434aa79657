#include "Marcas_Cambio.h"

#include "Valor_Control.h"

#include <QWidget>

const QColor TMarcas_Cambio::Tinte = QColor(0xFF, 0xE9, 0xA8);
const QColor TMarcas_Cambio::Tinte_Sin_Acuse = QColor(0xF5, 0xB7, 0xB1);

void TMarcas_Cambio::Anade(QWidget* actual, QWidget* nuevo) {
    pares_.append(TPar{actual, nuevo});
}

void TMarcas_Cambio::Pon_Sin_Acuse(const QList<QWidget*>& nuevos) {
    for (TPar& par : pares_) {
        if (nuevos.contains(par.Nuevo))
            par.No_Aceptado = Valor_Control(par.Nuevo);
        else
            par.No_Aceptado.reset();
    }
}

int TMarcas_Cambio::Actualiza(bool leido) {
    int marcados = 0;
    for (TPar& par : pares_) {
        // Edited, loaded or read since: the field no longer holds what was refused.
        if (par.No_Aceptado && *par.No_Aceptado != Valor_Control(par.Nuevo))
            par.No_Aceptado.reset();
        const bool cambio = !leido || Valor_Control(par.Nuevo) != Valor_Control(par.Actual);
        const bool sin_acuse = par.No_Aceptado.has_value();
        if (cambio != par.Cambio || sin_acuse != par.Sin_Acuse)
            Marca(par, cambio, sin_acuse);
        if (cambio)
            ++marcados;
        if (!cambio && !sin_acuse)
            continue;
        auto texto = [this](const QWidget* control) {
            const QString t = Texto_Control(control, textos_.Si, textos_.No);
            return t.isEmpty() ? textos_.Vacio : t;
        };
        QStringList lineas;
        if (cambio) {
            const QString antes = leido ? texto(par.Actual) : textos_.Sin_Leer;
            lineas << textos_.Cambia.arg(antes + QStringLiteral(" → ") + texto(par.Nuevo));
        }
        if (sin_acuse)
            lineas << textos_.Sin_Acuse;
        const QString consejo = lineas.join(QLatin1Char('\n'));
        if (par.Nuevo->toolTip() != consejo)
            par.Nuevo->setToolTip(consejo);
    }
    return marcados;
}

void TMarcas_Cambio::Marca(TPar& par, bool cambio, bool sin_acuse) const {
    QWidget* w = par.Nuevo;
    par.Cambio = cambio;
    par.Sin_Acuse = sin_acuse;
    if (!cambio && !sin_acuse) {
        // Empty ones hand the palette and font back to what the widget inherits.
        w->setPalette(QPalette());
        w->setFont(QFont());
        w->setAutoFillBackground(false);
        w->setToolTip({});
        return;
    }
    QPalette tinta = w->palette();
    for (QPalette::ColorRole papel : {QPalette::Base, QPalette::Button, QPalette::Window})
        tinta.setColor(papel, sin_acuse ? Tinte_Sin_Acuse : Tinte);
    w->setPalette(tinta);
    if (cambio) {
        QFont negrita = w->font();
        negrita.setBold(true);
        w->setFont(negrita);
    } else {
        w->setFont(QFont());
    }
    // A check box paints no background of its own.
    w->setAutoFillBackground(true);
}
