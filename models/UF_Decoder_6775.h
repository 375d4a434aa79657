#pragma once
// The digitizer: a bus unit addressed by a panel and a block number that holds an opening time
// and a minimum time. It announces itself with a pair of frames instead of sending its values;
// the second frame of a pair gives the editor the device's address, and 250 ms later the
// editor reads the two times from it. Every request carries the address, and Save can move
// the device to another panel and block, after which the editor follows it there.
//
// Fields: Edit1 … Edit3 and C1 the Current panel, block, opening and minimum time; Edit4 …
// Edit6 and C2 the New ones.

#include "UF_Decoder.h"

#include <cstdint>

class QComboBox;
class QTimer;

class TF_Decoder_6775 : public TF_Decoder {
    Q_OBJECT
public:
    explicit TF_Decoder_6775(QWidget* parent = nullptr);

    // Announcement frames only, not acknowledged; the second of each pair starts the poll.
    void Lee_Decoder(const Trama_Dec& FTResul) override;
    void Inicializa_Valores() override;
    void setVisible(bool visible) override;

protected:
    // The digitizer sends no data frames and no identification frame.
    int Valores() const override { return 0; }
    void Pon_Valor(int, const Trama_Dec&) override {}
    bool Decoder_Vacio() const override { return false; }

    // This window keeps the normal cursor while it writes.
    bool Reloj_Al_Grabar() const override { return false; }
    void Comprueba_Nuevos() override;
    void Rellena_TODOS_CEROS_IZ() override;
    bool Graba() override;
    QList<TCodigo_Registro> Codigos_Registro(TLado lado) const override;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The New column as the four writes carry it.
    struct TNuevos {
        uint8_t Panel;
        uint8_t Bloque;
        uint8_t Apertura;
        uint8_t Minimo;
    };
    // Raises EConvertError for a value the device could not be given as shown.
    TNuevos Nuevos() const;

    void Timer1Timer();
    void Averigua_Valores();
    bool Edit4KeyPress(QLineEdit* edit, QKeyEvent* key);
    bool C2KeyPress(QKeyEvent* key);
    void Label9Click();

    QComboBox* C1;
    QComboBox* C2;
    QLabel* Label9;
    QTimer* Timer1;

    // The device's address as the editor last learnt it.
    bool Confirma_Grabacion() override;

    uint8_t panel_ = 0;
    uint8_t bloque_ = 0;
};
