#include "UF_Decoder_6775_Help.h"

#include "Idiomas.h"
#include "Recursos.h"
#include "Rotulos.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int Lineas = 3;
constexpr int Ancho_Texto = 360;

} // namespace

TF_Decoder_6775_Help::TF_Decoder_6775_Help(QWidget* parent)
    : TVentana_Kalvex(QStringLiteral("F_Decoder_6775_Help"), Qt::Tool | Qt::WindowStaysOnTopHint,
                      parent) {
    // Its design title, which no language replaces.
    setWindowTitle(QStringLiteral("F_Decoder_6775_Help"));

    auto* icono = new QLabel(this);
    icono->setObjectName(QStringLiteral("Image1"));
    icono->setPixmap(Imagen(QStringLiteral("info.png")));

    Label14 = Crea_Rotulo(QStringLiteral("Label14"), QString(), 1.0, this);

    auto* lineas = new QGridLayout;
    lineas->setHorizontalSpacing(8);
    lineas->setVerticalSpacing(6);
    for (int k = 1; k <= Lineas; ++k) {
        auto* numero = new QLabel(QStringLiteral("%1 --").arg(k), this);
        numero->setObjectName(QStringLiteral("Label%1").arg(k));
        auto* texto = new QLabel(Texto(QStringLiteral("List_help_6775_%1").arg(k)), this);
        texto->setObjectName(QStringLiteral("Label%1").arg(Lineas + k));
        texto->setWordWrap(true);
        texto->setFixedWidth(Ancho_Texto);
        lineas->addWidget(numero, k - 1, 0, Qt::AlignTop);
        lineas->addWidget(texto, k - 1, 1, Qt::AlignTop);
    }

    auto* B_Close = new QPushButton(Texto(QStringLiteral("GEN_MEN09")), this);
    B_Close->setObjectName(QStringLiteral("B_Close"));
    B_Close->setDefault(true);
    connect(B_Close, &QPushButton::clicked, this, &QDialog::accept);

    auto* cabeza = new QHBoxLayout;
    cabeza->setSpacing(12);
    cabeza->addWidget(icono, 0, Qt::AlignTop);
    cabeza->addWidget(Label14, 1, Qt::AlignVCenter);

    auto* principal = new QVBoxLayout(this);
    principal->setSizeConstraint(QLayout::SetFixedSize);
    principal->setContentsMargins(16, 14, 16, 12);
    principal->setSpacing(12);
    principal->addLayout(cabeza);
    principal->addLayout(lineas);
    principal->addWidget(B_Close, 0, Qt::AlignHCenter);
}
