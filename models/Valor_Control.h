#pragma once
// The value of one control of an editor's grid, independent of the user's language, as the
// configuration file keeps it and the change marks compare it: the text of an edit or of a
// list that holds any value, the item of a fixed list (-1: none chosen), a check box's state.

#include "Frase.h"

#include <QJsonValue>
#include <QString>
#include <Qt>

class QWidget;

QJsonValue Valor_Control(const QWidget* control);
// Sets a value that Cabe_En_Control accepted.
void Pon_Valor_Control(QWidget* control, const QJsonValue& valor);
// Whether the control can hold the value: a text of at most `ancho` characters (0: any
// length) made of what a field shows, typed or read (hexadecimal digits, blanks, the minus of
// a time that could not be read); an item the list has; a state of a check box.
bool Cabe_En_Control(const QWidget* control, const QJsonValue& valor, int ancho);
// A fixed list's item worded from the language file carries its key in this role.
constexpr int Rol_Clave = Qt::UserRole + 1;
// The control's value as the record keeps it: a check box's state as the key of "Yes" or "No",
// a fixed list's item as its key (or its text when it has none), any other text as it stands.
TFrase Frase_Control(const QWidget* control);
// The control's value as the user reads it; `si` and `no` name a check box's two states.
QString Texto_Control(const QWidget* control, const QString& si, const QString& no);
// A value as Valor_Control gives it, as the user would read it in that control.
QString Texto_Valor(const QWidget* control, const QJsonValue& valor, const QString& si,
                    const QString& no);
