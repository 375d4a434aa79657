#include "UF_Decoder_6759.h"

#include "Recursos.h"
#include "UComunicaciones.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int On = 0; // items of the state selectors
constexpr int Off = 1;

QLabel* Dibujo_Oculto(const QString& nombre, const QString& imagen, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(nombre);
    l->setPixmap(Imagen(imagen));
    l->hide();
    return l;
}

} // namespace

TF_Decoder_6759::TF_Decoder_6759(QWidget* parent)
    : TF_Decoder_Salidas(QStringLiteral("F_Decoder_6759"),
                         {{QStringLiteral("6759"), QStringLiteral("reles.png")},
                          QStringLiteral("GEN_MEN016"),
                          0xFF},
                         parent) {
    B_Close->setObjectName(QStringLiteral("B_CLose"));
    I_Yes = Dibujo_Oculto(QStringLiteral("I_Yes"), QStringLiteral("encendido.png"), this);
    I_No = Dibujo_Oculto(QStringLiteral("I_No"), QStringLiteral("apagado.png"), this);
    // The state items belong to the layout, not to the language file.
    for (int n = 1; n <= Salidas; ++n) {
        for (TLado lado : {TLado::Actual, TLado::Nuevo}) {
            QComboBox* c = Ajuste(n, lado);
            c->addItem(QIcon(I_Yes->pixmap()), QStringLiteral("ON"));
            c->addItem(QIcon(I_No->pixmap()), QStringLiteral("OFF"));
            c->setCurrentIndex(-1);
        }
    }
    Aplica_Textos();
}

void TF_Decoder_6759::Pon_Boton(int puesto) {
    B_IniState->setIcon(QIcon((puesto == On ? I_No : I_Yes)->pixmap()));
}

void TF_Decoder_6759::Lee_Ajuste(int n) {
    Tiempo(n, TLado::Nuevo)->setText(Lee_Valor_Salida(n, Codigo_Actual(n), Prefijo()));
    const QString estado = Lee_Estado_Salida(n, Codigo_Actual(n), Prefijo());
    Ajuste(n, TLado::Nuevo)->setCurrentIndex(estado.toUpper() == QLatin1String("ON") ? On : Off);
}

void TF_Decoder_6759::T_Estado_TiempoInicialTimer() {
    TF_Decoder_Salidas::T_Estado_TiempoInicialTimer();
    if (Decoder_Vacio())
        return;
    // The Current column takes what the reads put into the New one.
    for (int n = 1; n <= Salidas; ++n) {
        Tiempo(n, TLado::Actual)->setText(Tiempo_Nuevo(n));
        const QString estado = Ajuste(n, TLado::Nuevo)->currentText();
        if (!estado.isEmpty())
            Ajuste(n, TLado::Actual)
                ->setCurrentIndex(estado.toUpper() != QLatin1String("ON") ? Off : On);
    }
}

bool TF_Decoder_6759::Escribe_Ajuste(int n) {
    return Escribe_Modo_Salida(Tiempo_Nuevo(n), Ajuste(n, TLado::Nuevo)->currentText(), n);
}
