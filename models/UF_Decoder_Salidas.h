#pragma once
// The sensors (6758) and relays (6759) editors: eight outputs, each a three-digit code behind
// the model's class nibble, a time and a third setting chosen from two items (time unit or
// initial state). Output n is Current code Edit<n>, New code Edit<8+n>, New time Edit<16+n>,
// Current time Edit<24+n>, New setting ComboBoxEx<n>, Current setting ComboBoxEx<8+n>.

#include "UF_Decoder.h"

class QComboBox;

struct TDatos_Salidas {
    TModelo_Editor Modelo;
    QString Prefijo;      // class nibble of every code word, "A" or "B"
    QString Clave_Ajuste; // heading of the setting column
    int Tiempo_Maximo;    // largest time the time byte can hold as typed
};

class TF_Decoder_Salidas : public TF_Decoder {
    Q_OBJECT
public:
    void Inicializa_Valores() override;
    void Inicializa_Valores_Solo_Nuevos();

    static constexpr int Salidas = 8;

protected:
    TF_Decoder_Salidas(const QString& nombre, const TDatos_Salidas& datos, QWidget* parent);

    int Valores() const override { return Salidas; }
    void Pon_Valor(int k, const Trama_Dec& FTResul) override;
    bool Decoder_Vacio() const override;
    void T_Estado_TiempoInicialTimer() override;
    bool Comienza_Grabacion() override;
    void Comprueba_Nuevos() override;
    void Rellena_TODOS_CEROS_IZ() override;
    bool Graba() override;
    void Aplica_Textos() override;

    // Reads the time and setting of output n, which has a current code, into both columns.
    virtual void Lee_Ajuste(int n) = 0;
    // Writes the time and setting of output n once its code was accepted.
    virtual bool Escribe_Ajuste(int n) = 0;
    // Shows on B_IniState what the toggle did: the item it set, or -1 for a cleared column.
    virtual void Pon_Boton(int puesto) = 0;

    void BitBtn1Click();
    void BitBtn3Click();
    void B_IniStateClick();

    QString Codigo_Actual(int n) const;
    QString Codigo_Nuevo(int n) const;
    QString Tiempo_Nuevo(int n) const;
    QLineEdit* Tiempo_Actual(int n) const { return Edit(3 * Salidas + n); }
    // The setting selectors: New of output n is ComboBoxEx<n>, Current ComboBoxEx<8+n>.
    QComboBox* Ajuste(int n) const;
    QComboBox* Ajuste_Actual(int n) const { return Ajuste(Salidas + n); }
    // The item's text, as the selectors are compared and set by their displayed text.
    static bool Muestra(const QComboBox* combo, int item);

    QPushButton* BitBtn1;
    QPushButton* BitBtn3;
    QPushButton* B_IniState;

private:
    TDatos_Salidas datos_;
};
