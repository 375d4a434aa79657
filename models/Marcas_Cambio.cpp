#include "Marcas_Cambio.h"

#include "Valor_Control.h"

#include <QWidget>

const QColor TMarcas_Cambio::Tinte = QColor(0xFF, 0xE9, 0xA8);

void TMarcas_Cambio::Anade(QWidget* actual, QWidget* nuevo) {
    pares_.append(TPar{actual, nuevo});
}

int TMarcas_Cambio::Actualiza(bool leido) {
    int marcados = 0;
    for (TPar& par : pares_) {
        const bool marcado = !leido || Valor_Control(par.Nuevo) != Valor_Control(par.Actual);
        if (marcado != par.Marcado)
            Marca(par, marcado);
        if (!marcado)
            continue;
        ++marcados;
        auto texto = [this](const QWidget* control) {
            const QString t = Texto_Control(control, textos_.Si, textos_.No);
            return t.isEmpty() ? textos_.Vacio : t;
        };
        const QString antes = leido ? texto(par.Actual) : textos_.Sin_Leer;
        const QString consejo =
            textos_.Cambia.arg(antes + QStringLiteral(" → ") + texto(par.Nuevo));
        if (par.Nuevo->toolTip() != consejo)
            par.Nuevo->setToolTip(consejo);
    }
    return marcados;
}

void TMarcas_Cambio::Marca(TPar& par, bool marcado) const {
    QWidget* w = par.Nuevo;
    par.Marcado = marcado;
    if (!marcado) {
        // Empty ones hand the palette and font back to what the widget inherits.
        w->setPalette(QPalette());
        w->setFont(QFont());
        w->setAutoFillBackground(false);
        w->setToolTip({});
        return;
    }
    QPalette tinta = w->palette();
    for (QPalette::ColorRole papel : {QPalette::Base, QPalette::Button, QPalette::Window})
        tinta.setColor(papel, Tinte);
    w->setPalette(tinta);
    QFont negrita = w->font();
    negrita.setBold(true);
    w->setFont(negrita);
    // A check box paints no background of its own.
    w->setAutoFillBackground(true);
}
