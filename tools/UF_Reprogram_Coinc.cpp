#include "UF_Reprogram_Coinc.h"

#include "Datos_Modelos.h"
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
    modelos_ = Modelos_Compartidos();
    for (const TModelo* m : modelos_) {
        auto* r = new QRadioButton(QString::number(m->Referencia) + QStringLiteral(" - ") +
                                       Texto(m->Clave_Lista()),
                                   RadioGroup1);
        r->setObjectName(QStringLiteral("R%1").arg(R.size() + 1));
        r->installEventFilter(this);
        grupo_->addButton(r);
        columna->addWidget(r);
        R.append(r);
    }
    if (!R.isEmpty())
        R.front()->setChecked(true);

    Label_Registro = Crea_Etiqueta(QStringLiteral("Label_Registro"), {}, this);
    Label_Registro->setWordWrap(true);
    Label_Registro->hide();

    B_Aceptar = new QPushButton(Texto(QStringLiteral("GEN_MEN018")), this);
    B_Aceptar->setObjectName(QStringLiteral("B_Aceptar"));
    B_Aceptar->setCursor(Qt::PointingHandCursor);
    B_Aceptar->setDefault(true);
    connect(B_Aceptar, &QPushButton::clicked, this, Atrapa([this] { B_AceptarClick(); }));

    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(14, 12, 14, 12);
    todo->addWidget(Label1);
    todo->addWidget(RadioGroup1);
    todo->addWidget(Label_Registro);
    todo->addWidget(B_Aceptar, 0, Qt::AlignRight);
}

void TF_Reprogram_Coinc::Ofrece(uint8_t identificacion, int conocido, const QString& codigo) {
    QRadioButton* primero = nullptr;
    QRadioButton* del_registro = nullptr;
    for (qsizetype i = 0; i < R.size(); ++i) {
        const TModelo* modelo = modelos_[static_cast<std::size_t>(i)];
        const bool ofrecido = modelo->Identificacion == identificacion;
        R[i]->setVisible(ofrecido);
        if (ofrecido && !primero)
            primero = R[i];
        if (ofrecido && conocido != 0 && modelo->Referencia == conocido)
            del_registro = R[i];
    }
    Label_Registro->setVisible(del_registro != nullptr);
    if (del_registro) {
        // What the installation knows goes before the last choice.
        Label_Registro->setText(
            Texto(QStringLiteral("Reprog_Known")).arg(codigo, QString::number(conocido)));
        del_registro->setChecked(true);
        return;
    }
    // The last choice stays while it is offered.
    QAbstractButton* marcado = grupo_->checkedButton();
    if (primero && (!marcado || marcado->isHidden()))
        primero->setChecked(true);
}

int TF_Reprogram_Coinc::Referencia_Elegida() const {
    return Tag >= 1 && Tag <= R.size() ? modelos_[static_cast<std::size_t>(Tag - 1)]->Referencia
                                       : 0;
}

void TF_Reprogram_Coinc::B_AceptarClick() {
    Tag = static_cast<int>(R.indexOf(grupo_->checkedButton())) + 1;
    accept();
}

// R1KeyPress: Return on any of the choices accepts it.
bool TF_Reprogram_Coinc::eventFilter(QObject* watched, QEvent* event) {
    auto* boton = qobject_cast<QRadioButton*>(watched);
    if (boton && R.contains(boton) && event->type() == QEvent::KeyPress) {
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
    if (QAbstractButton* marcado = grupo_->checkedButton())
        marcado->setFocus();
}
