#pragma once
// The device types of the bus, shared by the devices test and the re-programming window: the
// type choice itself, the width of the number fields, and how a typed number becomes the
// device code that a query carries.

#include <QGroupBox>
#include <QString>

class QLineEdit;
class QRadioButton;

// Audio units have four-digit numbers; panel decoders, sensors and relays three digits behind
// their class letter.
struct TTipo_Dispositivo {
    const char* Clave; // language key of its caption
    int Ancho;         // digits of the number
    const char* Letra; // first character of the code ("" for audio)
};

// The group RadioGroup1 with R1 (audio, selected at first) … R4 (relays).
class TGrupo_Tipos : public QGroupBox {
    Q_OBJECT
public:
    explicit TGrupo_Tipos(QWidget* parent);

    const TTipo_Dispositivo& Tipo() const;
    // The caption of the selected button, as the user reads it.
    QString Rotulo() const;
    bool Audio() const;

    // The number fields follow the type: a four-digit number loses its first digit when a
    // three-digit type is chosen, and the width limit is that of the type.
    void Ajusta_Campo(QLineEdit* campo) const;

signals:
    // A different type was chosen (not emitted for the button that was unchecked).
    void Cambiado();

private:
    QRadioButton* R[4];
};

// The value of a padded number. Only leading blanks and digits make a number: anything else
// (a blank inside it, text pasted in) raises EConvertError before a frame is built from it,
// so no query or programming request goes to a code that was not typed.
int Valor_Numero(const QString& texto);

// The device code of a number: its class letter and the number padded to the type's width.
QString Codigo_Dispositivo(const TTipo_Dispositivo& tipo, int numero);
