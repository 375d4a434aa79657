#pragma once
// The program's outcome dialogs. Each is created once and shown modally with exec(); its
// texts are looked up when it is created. They differ only in their lines and picture.

#include "UVentana_Kalvex.h"

#include <QStringList>

class QLabel;
class QTreeWidget;
class QVBoxLayout;

struct TContenido_Mensa {
    QStringList claves;       // language keys of the lines, top to bottom
    QString icono;            // picture beside the lines
    bool fotoDecoder = false; // the decoder photograph down the left side
};

class TF_Mensa : public TVentana_Kalvex {
    Q_OBJECT
protected:
    TF_Mensa(const QString& nombre, const TContenido_Mensa& contenido, QWidget* parent);
    // The column of lines, for a dialog that shows more under them.
    QVBoxLayout* Textos() const { return textos_; }

private:
    QVBoxLayout* textos_;
};

// The decoder that sent its configuration is not of the selected model. Its list shows the
// selected reference and the model that answered.
class TF_Mensa00 : public TF_Mensa {
    Q_OBJECT
public:
    explicit TF_Mensa00(QWidget* parent = nullptr);
    // Empties Lista and adds the one row: "Ref. <reference>" and the received model's text.
    void Pon_Decoders(const QString& referencia, const QString& recibido);

    QTreeWidget* Lista;

private:
    void Ajusta_Lista();
};

// Writing at least one value failed. Below its lines it can say which values ("Not
// acknowledged: outputs 3, 4").
class TF_Mensa01 : public TF_Mensa {
    Q_OBJECT
public:
    explicit TF_Mensa01(QWidget* parent = nullptr);
    // What the next showing says below its lines; empty: nothing.
    void Pon_Detalle(const QString& texto);

    QLabel* Detalle;
};

// The decoder holds no configuration.
class TF_Mensa02 : public TF_Mensa {
    Q_OBJECT
public:
    explicit TF_Mensa02(QWidget* parent = nullptr);
};

// The address range of the Torvik decoder is not acceptable.
class TF_Mensa03 : public TF_Mensa {
    Q_OBJECT
public:
    explicit TF_Mensa03(QWidget* parent = nullptr);
};

// The first output has no value while another one has.
class TF_Mensa04 : public TF_Mensa {
    Q_OBJECT
public:
    explicit TF_Mensa04(QWidget* parent = nullptr);
};

// All values were written.
class TF_Mensa05 : public TF_Mensa {
    Q_OBJECT
public:
    explicit TF_Mensa05(QWidget* parent = nullptr);
};
