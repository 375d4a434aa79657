#pragma once
// The value of one control of an editor's grid, independent of the user's language, as the
// configuration file keeps it and the change marks compare it: the text of an edit or of a
// list that holds any value, the item of a fixed list (-1: none chosen), a check box's state.

#include <QJsonValue>
#include <QString>

class QWidget;

QJsonValue Valor_Control(const QWidget* control);
// Sets a value that Cabe_En_Control accepted.
void Pon_Valor_Control(QWidget* control, const QJsonValue& valor);
// Whether the control can hold the value: a text of at most `ancho` characters (0: any
// length) made of what a field shows, typed or read (hexadecimal digits, blanks, the minus of
// a time that could not be read); an item the list has; a state of a check box.
bool Cabe_En_Control(const QWidget* control, const QJsonValue& valor, int ancho);
// The control's value as the user reads it; `si` and `no` name a check box's two states.
QString Texto_Control(const QWidget* control, const QString& si, const QString& no);
// A value as Valor_Control gives it, as the user would read it in that control.
QString Texto_Valor(const QWidget* control, const QJsonValue& valor, const QString& si,
                    const QString& no);
