#include "Valor_Control.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <cmath>

namespace {

// A list the user picks from holds only its items; one that takes a value read from the
// decoder as it stands (the digitizer's minimum time) is kept by its text.
const QComboBox* Lista_Fija(const QWidget* control) {
    const auto* combo = qobject_cast<const QComboBox*>(control);
    return combo && !combo->isEditable() ? combo : nullptr;
}

bool Caracter_De_Campo(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F')) || c == QLatin1Char(' ') ||
           c == QLatin1Char('-');
}

} // namespace

QJsonValue Valor_Control(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* check = qobject_cast<const QCheckBox*>(control))
        return check->isChecked();
    if (const QComboBox* lista = Lista_Fija(control))
        return lista->currentIndex();
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    return {};
}

void Pon_Valor_Control(QWidget* control, const QJsonValue& valor) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(valor.toString());
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
        check->setChecked(valor.toBool());
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->isEditable()) {
            combo->setCurrentIndex(combo->findText(valor.toString()));
            combo->setEditText(valor.toString());
        } else {
            combo->setCurrentIndex(valor.toInt());
        }
    }
}

bool Cabe_En_Control(const QWidget* control, const QJsonValue& valor, int ancho) {
    if (qobject_cast<const QCheckBox*>(control))
        return valor.isBool();
    if (const QComboBox* lista = Lista_Fija(control)) {
        // A whole number, not 1.5 taken for item 1.
        const double item = valor.toDouble();
        return valor.isDouble() && item >= -1 && item < lista->count() && item == std::floor(item);
    }
    if (!valor.isString())
        return false;
    const QString texto = valor.toString();
    if (ancho > 0 && texto.size() > ancho)
        return false;
    for (QChar c : texto)
        if (!Caracter_De_Campo(c))
            return false;
    return true;
}

QString Texto_Control(const QWidget* control, const QString& si, const QString& no) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    if (const auto* check = qobject_cast<const QCheckBox*>(control))
        return check->isChecked() ? si : no;
    return {};
}

TFrase Frase_Control(const QWidget* control) {
    if (const auto* check = qobject_cast<const QCheckBox*>(control))
        return TFrase::De_Clave(check->isChecked() ? QStringLiteral("GEN_MEN103")
                                                   : QStringLiteral("GEN_MEN104"));
    if (const QComboBox* lista = Lista_Fija(control)) {
        const QString clave = lista->currentData(Rol_Clave).toString();
        if (!clave.isEmpty())
            return TFrase::De_Clave(clave);
    }
    return Texto_Control(control, {}, {});
}

QString Texto_Valor(const QWidget* control, const QJsonValue& valor, const QString& si,
                    const QString& no) {
    if (qobject_cast<const QCheckBox*>(control))
        return valor.toBool() ? si : no;
    if (const QComboBox* lista = Lista_Fija(control))
        return lista->itemText(valor.toInt(-1));
    return valor.toString();
}
