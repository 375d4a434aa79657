#pragma once
// The choice among the models that answer with the same identification byte (the model
// table says which, and in which order). Shown modally; its result is Tag. It keeps its last
// selection for the next showing.

#include "UVentana_Kalvex.h"

#include <QList>

#include <cstdint>
#include <vector>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
struct TModelo;

class TF_Reprogram_Coinc : public TVentana_Kalvex {
    Q_OBJECT
    Q_PROPERTY(int Tag MEMBER Tag)
public:
    explicit TF_Reprogram_Coinc(QWidget* parent = nullptr);

    // Only the models that answer with this byte are offered at the next showing. When the
    // installation record knows the device code (as the user reads it) as one of them, that
    // one is selected and a line says so; otherwise the last choice stays selected.
    void Ofrece(uint8_t identificacion, int conocido = 0, const QString& codigo = {});

    // 0 = no choice (the close box), n = the n-th choice, R<n>.
    int Tag = 0;
    // The reference Tag names; 0 for no choice.
    int Referencia_Elegida() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void B_AceptarClick();

    QLabel* Label1;
    // "The installation record knows code 0112 as a 6713", shown only then.
    QLabel* Label_Registro;
    // R1, R2 … one per model that shares its byte with another.
    QList<QRadioButton*> R;
    std::vector<const TModelo*> modelos_;
    QPushButton* B_Aceptar;
    QButtonGroup* grupo_;
};
