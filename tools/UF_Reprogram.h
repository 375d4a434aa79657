#pragma once
// Re-programming: finds the decoder that serves one device code, opens that model's editor
// and asks the decoder to send its configuration, as its programming button would.

#include "UVentana_Kalvex.h"

#include <cstdint>

struct TModelo;

class QLabel;
class QLineEdit;
class QPushButton;
class TGrupo_Tipos;

class TF_Reprogram : public TVentana_Kalvex {
    Q_OBJECT
public:
    explicit TF_Reprogram(QWidget* parent = nullptr);

    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void B_FindClick();
    void R2Click();
    void Busca();
    // The model that answers with an identification byte; null when the byte names none or
    // the installer, asked about a byte several models share, chose none. The device code
    // (as the user reads it) and its number tell the choice what the record knows.
    const TModelo* Modelo_Respondido(uint8_t identificacion, const QString& codigo,
                                     const QString& numero) const;

    QLabel* Label1;
    TGrupo_Tipos* RadioGroup1;
    QLabel* Label2;
    QLineEdit* Edit1;
    QPushButton* B_Find;
    QLabel* Label3;
    QLabel* I_NOT_FOUND;
    QPushButton* B_Close;
    QLabel* Image1;
};
