#include "Marcas_Cambio.h"

#include "Valor_Control.h"

#include <QWidget>

#include <algorithm>

const QColor TMarcas_Cambio::Tinte = QColor(0xFF, 0xE9, 0xA8);
const QColor TMarcas_Cambio::Tinte_Sin_Acuse = QColor(0xF5, 0xB7, 0xB1);

void TMarcas_Cambio::Anade(QWidget* actual, QWidget* nuevo) {
    pares_.append(TPar{actual, nuevo});
}

void TMarcas_Cambio::Pon_Sin_Acuse(const QList<QWidget*>& nuevos) {
    for (TPar& par : pares_) {
        par.Texto_Rojo.clear();
        if (nuevos.contains(par.Nuevo))
            par.No_Aceptado = Valor_Control(par.Nuevo);
        else
            par.No_Aceptado.reset();
    }
}

void TMarcas_Cambio::Pon_Difiere(const QList<QPair<QWidget*, QString>>& nuevos) {
    for (TPar& par : pares_) {
        par.Texto_Rojo.clear();
        par.No_Aceptado.reset();
        for (const auto& [nuevo, texto] : nuevos)
            if (nuevo == par.Nuevo) {
                par.No_Aceptado = Valor_Control(par.Nuevo);
                par.Texto_Rojo = texto;
            }
    }
}

void TMarcas_Cambio::Anota_Escritos(const QList<QWidget*>& nuevos) {
    for (TPar& par : pares_)
        if (nuevos.contains(par.Nuevo))
            par.Escrito = Valor_Control(par.Nuevo);
}

void TMarcas_Cambio::Olvida_Escritos() {
    for (TPar& par : pares_)
        par.Escrito.reset();
}

const TMarcas_Cambio::TPar* TMarcas_Cambio::Par(const QWidget* nuevo) const {
    for (const TPar& par : pares_)
        if (par.Nuevo == nuevo)
            return &par;
    return nullptr;
}

std::optional<QJsonValue> TMarcas_Cambio::Conocido(const QWidget* nuevo, bool leido) const {
    const TPar* par = Par(nuevo);
    if (!par)
        return std::nullopt;
    if (par->Escrito)
        return par->Escrito;
    if (leido)
        return Valor_Control(par->Actual);
    return std::nullopt;
}

bool TMarcas_Cambio::Todo_Conocido(bool leido) const {
    return std::all_of(pares_.begin(), pares_.end(),
                       [leido](const TPar& par) { return leido || par.Escrito.has_value(); });
}

QString TMarcas_Cambio::Texto_Valor(const QWidget* control, const QJsonValue& valor) const {
    return ::Texto_Valor(control, valor, textos_.Si, textos_.No);
}

int TMarcas_Cambio::Actualiza(bool leido) {
    int marcados = 0;
    for (TPar& par : pares_) {
        // Edited, loaded or read since: the field no longer holds what was refused.
        if (par.No_Aceptado && *par.No_Aceptado != Valor_Control(par.Nuevo)) {
            par.No_Aceptado.reset();
            par.Texto_Rojo.clear();
        }
        const std::optional<QJsonValue> conocido = Conocido(par.Nuevo, leido);
        const bool cambio = !conocido || Valor_Control(par.Nuevo) != *conocido;
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
            QString antes = textos_.Sin_Leer;
            if (conocido) {
                antes = Texto_Valor(par.Actual, *conocido);
                if (antes.isEmpty())
                    antes = textos_.Vacio;
            }
            lineas << textos_.Cambia.arg(antes + QStringLiteral(" → ") + texto(par.Nuevo));
        }
        if (sin_acuse)
            lineas << (par.Texto_Rojo.isEmpty() ? textos_.Sin_Acuse : par.Texto_Rojo);
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
