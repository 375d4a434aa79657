#include "UF_Decoder_6758.h"

#include "Idiomas.h"
#include "Recursos.h"
#include "UComunicaciones.h"
#include "Valor_Control.h"
#include "Valores_Leidos.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace {

constexpr int Segundos = 0; // items of the unit selectors
constexpr int Minutos = 1;

} // namespace

TF_Decoder_6758::TF_Decoder_6758(QWidget* parent)
    : TF_Decoder_Salidas(QStringLiteral("F_Decoder_6758"),
                         {{QStringLiteral("6758"), QStringLiteral("sensores.png")},
                          QStringLiteral("GEN_MEN06"),
                          0x7F},
                         parent) {
    QFont negrita = B_IniState->font();
    negrita.setBold(true);
    B_IniState->setFont(negrita);
    B_IniState->setText(QStringLiteral("S"));
    Aplica_Textos();
    // The selectors are filled at each showing; their width is fixed now, for the longer of
    // the two unit names, so the columns keep their place whatever the language.
    const int letras = static_cast<int>(
        qMax(Texto(QStringLiteral("GEN_MEN07")).size(), Texto(QStringLiteral("GEN_MEN08")).size()));
    for (int n = 1; n <= Salidas; ++n) {
        for (TLado lado : {TLado::Actual, TLado::Nuevo}) {
            Ajuste(n, lado)->setMinimumContentsLength(letras);
            Ajuste(n, lado)->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        }
    }
}

void TF_Decoder_6758::setVisible(bool visible) {
    if (visible && !isVisible())
        Llena_Unidades();
    TF_Decoder_Salidas::setVisible(visible);
}

void TF_Decoder_6758::Llena_Unidades() {
    const QIcon segundos(Imagen(QStringLiteral("segundos.png")));
    const QIcon minutos(Imagen(QStringLiteral("minutos.png")));
    for (int n = 1; n <= Salidas; ++n) {
        for (TLado lado : {TLado::Actual, TLado::Nuevo}) {
            QComboBox* c = Ajuste(n, lado);
            c->clear();
            for (const auto& [icono, clave] : {std::pair(segundos, QStringLiteral("GEN_MEN07")),
                                               std::pair(minutos, QStringLiteral("GEN_MEN08"))}) {
                c->addItem(icono, Texto(clave));
                c->setItemData(c->count() - 1, clave, Rol_Clave);
            }
        }
    }
}

void TF_Decoder_6758::Inicializa_Valores() {
    Grabado = false;
    TF_Decoder_Salidas::Inicializa_Valores();
}

void TF_Decoder_6758::Pon_Boton(int puesto) {
    B_IniState->setText(puesto == Minutos ? QStringLiteral("S") : QStringLiteral("M"));
}

void TF_Decoder_6758::Lee_Ajuste(int n) {
    const TTiempo_Sensor leido = Tiempo_Sensor(Lee_Valor_Salida(n, Codigo_Actual(n), Prefijo()));
    const bool minutos = leido.Minutos;
    const QString& tiempo = leido.Cuenta;
    Ajuste(n, TLado::Nuevo)->setCurrentIndex(minutos ? Minutos : Segundos);
    Ajuste(n, TLado::Actual)->setCurrentIndex(minutos ? Minutos : Segundos);
    Tiempo(n, TLado::Nuevo)->setText(tiempo);
    Tiempo(n, TLado::Actual)->setText(tiempo);
}

bool TF_Decoder_6758::Escribe_Ajuste(int n) {
    const QString unidad = Muestra(Ajuste(n, TLado::Nuevo), Minutos) ? QStringLiteral("MINUTOS")
                                                                     : QStringLiteral("SEGUNDOS");
    return Escribe_Tiempo_Salida(Tiempo_Nuevo(n), unidad, n);
}

bool TF_Decoder_6758::Graba() {
    // Set before the first frame: a decoder that took part of a Save needs the second
    // closing frame as much as one that took all of it.
    Grabado = true;
    return TF_Decoder_Salidas::Graba() && Arma_Sensores();
}

bool TF_Decoder_6758::Arma_Sensores() {
    bool todo_aceptado = true;
    for (int n = 1; n <= Salidas; ++n)
        if (!Codigo_Nuevo(n).isEmpty()) {
            Muestra_Progreso(Texto(QStringLiteral("GEN_MEN143")).arg(n).arg(Salidas));
            const bool aceptado = Arma_Dispositivo(Prefijo() + Codigo_Nuevo(n));
            // An output whose sensor was not armed is not programmed in full.
            Fila_Aceptada(n - 1, aceptado);
            todo_aceptado = todo_aceptado && aceptado;
        }
    return todo_aceptado;
}

void TF_Decoder_6758::Envia_Cierre() {
    TF_Decoder_Salidas::Envia_Cierre();
    if (Grabado)
        Enlace().Transact(0x50, 0x04, 0xAF, 0xFF, false);
}
