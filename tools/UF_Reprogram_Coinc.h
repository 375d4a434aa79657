#pragma once
// The choice among the three models that answer with the same identification byte. Shown
// modally; its result is Tag. It keeps its last selection for the next showing.

#include "UVentana_Kalvex.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

class TF_Reprogram_Coinc : public TVentana_Kalvex {
    Q_OBJECT
    Q_PROPERTY(int Tag MEMBER Tag)
public:
    explicit TF_Reprogram_Coinc(QWidget* parent = nullptr);

    // 0 = no choice (the close box), n = the n-th of Referencias.
    int Tag = 0;
    static constexpr int Referencias[] = {6745, 6713, 6734};
    // The reference Tag names; 0 for no choice.
    int Referencia_Elegida() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void B_AceptarClick();

    QLabel* Label1;
    QRadioButton* R1;
    QRadioButton* R2;
    QRadioButton* R3;
    QPushButton* B_Aceptar;
    QButtonGroup* grupo_;
};
