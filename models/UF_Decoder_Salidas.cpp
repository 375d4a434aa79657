#include "UF_Decoder_Salidas.h"

#include "Conversion.h"
#include "F_Mensa.h"
#include "Idiomas.h"
#include "UComunicaciones.h"
#include "Ventanas.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int Ancho = 3;
constexpr int Mayor_Codigo = 999;

} // namespace

TF_Decoder_Salidas::TF_Decoder_Salidas(const QString& nombre, const TDatos_Salidas& datos,
                                       QWidget* parent)
    : TF_Decoder(nombre, datos.Modelo, parent), datos_(datos) {
    BitBtn1 = Crea_Boton(QStringLiteral("BitBtn1"), QStringLiteral("cifras.png"),
                         QStringLiteral("GEN_MEN011"));
    BitBtn3 = Crea_Boton(QStringLiteral("BitBtn3"), QStringLiteral("borrar.png"),
                         QStringLiteral("GEN_MEN012"));
    B_IniState = Crea_Boton(QStringLiteral("B_IniState"), {}, QStringLiteral("GEN_MEN013"));
    connect(BitBtn1, &QPushButton::clicked, this, &TF_Decoder_Salidas::BitBtn1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TF_Decoder_Salidas::BitBtn3Click);
    connect(B_IniState, &QPushButton::clicked, this, &TF_Decoder_Salidas::B_IniStateClick);

    TRejilla rejilla;
    rejilla.Rotulos = {QStringLiteral("GEN_MEN03"), QStringLiteral("Label5"),
                       QStringLiteral("Label21")};
    rejilla.Columnas = {
        {QStringLiteral("GEN_MEN04"), QStringLiteral("Label3"), QStringLiteral("Label4")},
        {QStringLiteral("GEN_MEN05"), QStringLiteral("Label6"), QStringLiteral("Label22")},
        {datos.Clave_Ajuste, QStringLiteral("Label7"), QStringLiteral("Label23")}};
    auto edit = [](int k) {
        return TCelda{TTipo_Celda::Edit, QStringLiteral("Edit%1").arg(k), Ancho};
    };
    auto combo = [](int k) {
        return TCelda{TTipo_Celda::Combo, QStringLiteral("ComboBoxEx%1").arg(k), 0};
    };
    for (int n = 1; n <= Salidas; ++n)
        rejilla.Filas.append({QString::number(n),
                              {},
                              {},
                              {edit(n), edit(3 * Salidas + n), combo(Salidas + n)},
                              {edit(Salidas + n), edit(2 * Salidas + n), combo(n)}});
    Construye_Rejilla(rejilla, {BitBtn1, BitBtn3, B_IniState});
}

void TF_Decoder_Salidas::Aplica_Textos() {
    TF_Decoder::Aplica_Textos();
    // These two editors have a one-line prompt.
    Label28->setText(Texto(QStringLiteral("GEN_MEN00")));
    Label10->hide();
}

QString TF_Decoder_Salidas::Codigo_Actual(int n) const {
    return Edit(n)->text();
}
QString TF_Decoder_Salidas::Codigo_Nuevo(int n) const {
    return Edit(Salidas + n)->text();
}
QString TF_Decoder_Salidas::Tiempo_Nuevo(int n) const {
    return Edit(2 * Salidas + n)->text();
}

QComboBox* TF_Decoder_Salidas::Ajuste(int n) const {
    return findChild<QComboBox*>(QStringLiteral("ComboBoxEx%1").arg(n));
}

bool TF_Decoder_Salidas::Muestra(const QComboBox* combo, int item) {
    return !combo->currentText().isEmpty() && combo->currentText() == combo->itemText(item);
}

void TF_Decoder_Salidas::Inicializa_Valores() {
    for (int k = 1; k <= 4 * Salidas; ++k)
        Edit(k)->clear();
    for (int k = 1; k <= 2 * Salidas; ++k)
        Ajuste(k)->setCurrentIndex(-1);
    Pon_Boton(-1);
    Edit(Salidas + 1)->setFocus();
}

void TF_Decoder_Salidas::Inicializa_Valores_Solo_Nuevos() {
    for (int k = Salidas + 1; k <= 3 * Salidas; ++k)
        Edit(k)->clear();
    for (int n = 1; n <= Salidas; ++n)
        Ajuste(n)->setCurrentIndex(-1);
    Pon_Boton(-1);
    Edit(Salidas + 1)->setFocus();
}

void TF_Decoder_Salidas::Pon_Valor(int k, const Trama_Dec& FTResul) {
    // The class nibble is dropped whatever it is.
    QString texto = Palabra(FTResul).right(Ancho);
    if (texto == QString(Ancho, u'F'))
        texto.clear();
    Edit(Salidas + k + 1)->setText(texto);
    Edit(k + 1)->setText(texto);
}

bool TF_Decoder_Salidas::Decoder_Vacio() const {
    for (int n = 1; n <= Salidas; ++n)
        if (!Codigo_Actual(n).isEmpty())
            return false;
    return true;
}

void TF_Decoder_Salidas::T_Estado_TiempoInicialTimer() {
    T_Estado_TiempoInicial->stop();
    if (Decoder_Vacio()) {
        Ventanas().F_Mensa02->exec();
        return;
    }
    // Only outputs with a code: the decoder answers a time read only with the output's code.
    for (int n = 1; n <= Salidas; ++n)
        if (!Codigo_Actual(n).isEmpty())
            Lee_Ajuste(n);
    Edit(Salidas + 1)->setFocus();
}

void TF_Decoder_Salidas::BitBtn1Click() {
    QLineEdit* primero = Edit(Salidas + 1);
    if (primero->text().isEmpty())
        return;
    primero->setText(Rellena_Ceros_Iz(primero->text(), Ancho));
    for (int n = 2; n <= Salidas; ++n) {
        const int valor = StrToInt(primero->text()) + n - 1;
        Edit(Salidas + n)
            ->setText(valor > Mayor_Codigo ? QString()
                                           : Rellena_Ceros_Iz(QString::number(valor), Ancho));
    }
}

void TF_Decoder_Salidas::BitBtn3Click() {
    Inicializa_Valores_Solo_Nuevos();
}

void TF_Decoder_Salidas::B_IniStateClick() {
    // A first selector showing item 0 turns them all to item 1; item 1 or nothing, to item 0.
    const QComboBox* primero = Ajuste(1);
    const int puesto = !primero->currentText().isEmpty() && !Muestra(primero, 1) ? 1 : 0;
    for (int n = 1; n <= Salidas; ++n)
        Ajuste(n)->setCurrentIndex(puesto);
    Pon_Boton(puesto);
    Edit(Salidas + 1)->setFocus();
}

bool TF_Decoder_Salidas::Comienza_Grabacion() {
    if (!Codigo_Nuevo(1).isEmpty())
        return true;
    for (int n = 2; n <= Salidas; ++n)
        if (!Codigo_Nuevo(n).isEmpty())
            return false;
    return true;
}

void TF_Decoder_Salidas::Comprueba_Nuevos() {
    // The key filter lets a blank through; a time the time byte cannot hold would be stored
    // as another time; and "-1" marks a time that could not be read, not one to write.
    for (int n = 1; n <= Salidas; ++n) {
        Exige_Hexadecimal(Codigo_Nuevo(n));
        const QString tiempo = Tiempo_Nuevo(n);
        if (tiempo.isEmpty())
            continue;
        Exige_Hexadecimal(tiempo);
        if (StrToInt(tiempo) > datos_.Tiempo_Maximo)
            throw EConvertError(tiempo);
    }
}

void TF_Decoder_Salidas::Rellena_TODOS_CEROS_IZ() {
    for (int n = 1; n <= Salidas; ++n)
        if (!Codigo_Nuevo(n).isEmpty())
            Edit(Salidas + n)->setText(Rellena_Ceros_Iz(Codigo_Nuevo(n), Ancho));
}

bool TF_Decoder_Salidas::Graba() {
    bool todo_aceptado = true;
    for (int n = 1; n <= Salidas; ++n) {
        // A setting is written only over a code the decoder took.
        const bool aceptado =
            Escribe_Codigo_Salida(datos_.Prefijo, Codigo_Nuevo(n), n) && Escribe_Ajuste(n);
        todo_aceptado = todo_aceptado && aceptado;
    }
    return todo_aceptado;
}
