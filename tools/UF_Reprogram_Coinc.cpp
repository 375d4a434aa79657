#include "UF_Reprogram_Coinc.h"

#include "Errores.h"
#include "Idiomas.h"
#include "Rotulos.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

TF_Reprogram_Coinc::TF_Reprogram_Coinc(QWidget* parent)
    : TVentana_Kalvex(QStringLiteral("F_Reprogram_Coinc"), Qt::Tool | Qt::WindowStaysOnTopHint,
                      parent) {
    Label1 = Crea_Rotulo(QStringLiteral("Label1"),
                         Texto(QStringLiteral("Main_Reprogramming2_caption")), 1.4, this);

    auto* RadioGroup1 = new QGroupBox(Texto(QStringLiteral("GEN_MEN034")), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    grupo_ = new QButtonGroup(this);
    auto* columna = new QVBoxLayout(RadioGroup1);
    QRadioButton** botones[] = {&R1, &R2, &R3};
    for (int i = 0; i < 3; ++i) {
        const QString ref = QString::number(Referencias[i]);
        auto* r = new QRadioButton(
            ref + QStringLiteral(" - ") + Texto(QStringLiteral("List_") + ref), RadioGroup1);
        r->setObjectName(QStringLiteral("R%1").arg(i + 1));
        r->installEventFilter(this);
        grupo_->addButton(r);
        columna->addWidget(r);
        *botones[i] = r;
    }
    R1->setChecked(true);

    B_Aceptar = new QPushButton(Texto(QStringLiteral("GEN_MEN018")), this);
    B_Aceptar->setObjectName(QStringLiteral("B_Aceptar"));
    B_Aceptar->setCursor(Qt::PointingHandCursor);
    B_Aceptar->setDefault(true);
    connect(B_Aceptar, &QPushButton::clicked, this, Atrapa([this] { B_AceptarClick(); }));

    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(14, 12, 14, 12);
    todo->addWidget(Label1);
    todo->addWidget(RadioGroup1);
    todo->addWidget(B_Aceptar, 0, Qt::AlignRight);
}

int TF_Reprogram_Coinc::Referencia_Elegida() const {
    return Tag >= 1 && Tag <= 3 ? Referencias[Tag - 1] : 0;
}

void TF_Reprogram_Coinc::B_AceptarClick() {
    Tag = R1->isChecked() ? 1 : R2->isChecked() ? 2 : 3;
    accept();
}

// R1KeyPress: Return on any of the three choices accepts it.
bool TF_Reprogram_Coinc::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == R1 || watched == R2 || watched == R3) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            B_AceptarClick();
            return true;
        }
    }
    return TVentana_Kalvex::eventFilter(watched, event);
}

// The last choice has the focus, so the arrows move from it and Return accepts it.
void TF_Reprogram_Coinc::showEvent(QShowEvent* event) {
    TVentana_Kalvex::showEvent(event);
    grupo_->checkedButton()->setFocus();
}
