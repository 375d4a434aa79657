#include "UF_Decoder_Salidas.h"

#include "Conversion.h"
#include "Errores.h"
#include "F_Mensa.h"
#include "Idiomas.h"
#include "UComunicaciones.h"
#include "Valores_Leidos.h"
#include "Ventanas.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int Ancho = 3;
constexpr int Mayor_Codigo = 999;
// The grid's columns, in each block.
constexpr int Columna_Codigo = 0;
constexpr int Columna_Tiempo = 1;
constexpr int Columna_Ajuste = 2;

} // namespace

TF_Decoder_Salidas::TF_Decoder_Salidas(const QString& nombre, const TDatos_Salidas& datos,
                                       QWidget* parent)
    : TF_Decoder(nombre, datos.Modelo, parent), datos_(datos) {
    BitBtn1 = Crea_Boton(QStringLiteral("BitBtn1"), QStringLiteral("cifras.png"),
                         QStringLiteral("GEN_MEN011"));
    BitBtn3 = Crea_Boton(QStringLiteral("BitBtn3"), QStringLiteral("borrar.png"),
                         QStringLiteral("GEN_MEN012"));
    B_IniState = Crea_Boton(QStringLiteral("B_IniState"), {}, QStringLiteral("GEN_MEN013"));
    connect(BitBtn1, &QPushButton::clicked, this, Atrapa([this] { BitBtn1Click(); }));
    connect(BitBtn3, &QPushButton::clicked, this, Atrapa([this] { BitBtn3Click(); }));
    connect(B_IniState, &QPushButton::clicked, this, Atrapa([this] { B_IniStateClick(); }));

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
                              {edit(Salidas + n), edit(2 * Salidas + n), combo(n)},
                              {}});
    Construye_Rejilla(rejilla, {BitBtn1, BitBtn3, B_IniState});
}

void TF_Decoder_Salidas::Aplica_Textos() {
    TF_Decoder::Aplica_Textos();
    // These two editors have a one-line prompt.
    Label28->setText(Texto(QStringLiteral("GEN_MEN00")));
    Label10->hide();
}

QLineEdit* TF_Decoder_Salidas::Codigo(int n, TLado lado) const {
    return Celda<QLineEdit>(n - 1, Columna_Codigo, lado);
}
QLineEdit* TF_Decoder_Salidas::Tiempo(int n, TLado lado) const {
    return Celda<QLineEdit>(n - 1, Columna_Tiempo, lado);
}
QComboBox* TF_Decoder_Salidas::Ajuste(int n, TLado lado) const {
    return Celda<QComboBox>(n - 1, Columna_Ajuste, lado);
}
QString TF_Decoder_Salidas::Codigo_Actual(int n) const {
    return Codigo(n, TLado::Actual)->text();
}
QString TF_Decoder_Salidas::Codigo_Nuevo(int n) const {
    return Codigo(n, TLado::Nuevo)->text();
}
QString TF_Decoder_Salidas::Tiempo_Nuevo(int n) const {
    return Tiempo(n, TLado::Nuevo)->text();
}

bool TF_Decoder_Salidas::Muestra(const QComboBox* combo, int item) {
    return !combo->currentText().isEmpty() && combo->currentText() == combo->itemText(item);
}

void TF_Decoder_Salidas::Vacia(TLado lado) {
    for (int n = 1; n <= Salidas; ++n) {
        Codigo(n, lado)->clear();
        Tiempo(n, lado)->clear();
        Ajuste(n, lado)->setCurrentIndex(-1);
    }
}

void TF_Decoder_Salidas::Inicializa_Valores() {
    Vacia(TLado::Actual);
    Inicializa_Valores_Solo_Nuevos();
}

void TF_Decoder_Salidas::Inicializa_Valores_Solo_Nuevos() {
    Vacia(TLado::Nuevo);
    Pon_Boton(-1);
    Codigo(1, TLado::Nuevo)->setFocus();
}

void TF_Decoder_Salidas::Pon_Valor(int k, const Trama_Dec& FTResul) {
    // The class nibble is dropped whatever it is.
    const QString texto = Codigo_Leido(FTResul, Ancho);
    Codigo(k + 1, TLado::Nuevo)->setText(texto);
    Codigo(k + 1, TLado::Actual)->setText(texto);
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
    Codigo(1, TLado::Nuevo)->setFocus();
}

void TF_Decoder_Salidas::BitBtn1Click() {
    QLineEdit* primero = Codigo(1, TLado::Nuevo);
    if (primero->text().isEmpty())
        return;
    primero->setText(Rellena_Ceros_Iz(primero->text(), Ancho));
    for (int n = 2; n <= Salidas; ++n) {
        const int valor = StrToInt(primero->text()) + n - 1;
        Codigo(n, TLado::Nuevo)
            ->setText(valor > Mayor_Codigo ? QString()
                                           : Rellena_Ceros_Iz(QString::number(valor), Ancho));
    }
}

void TF_Decoder_Salidas::BitBtn3Click() {
    Inicializa_Valores_Solo_Nuevos();
}

void TF_Decoder_Salidas::B_IniStateClick() {
    // A first selector showing item 0 turns them all to item 1; item 1 or nothing, to item 0.
    const QComboBox* primero = Ajuste(1, TLado::Nuevo);
    const int puesto = !primero->currentText().isEmpty() && !Muestra(primero, 1) ? 1 : 0;
    for (int n = 1; n <= Salidas; ++n)
        Ajuste(n, TLado::Nuevo)->setCurrentIndex(puesto);
    Pon_Boton(puesto);
    Codigo(1, TLado::Nuevo)->setFocus();
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
        Exige_Digitos(Codigo(n, TLado::Nuevo), Lugar_Codigo(n));
        Exige_Maximo(Tiempo(n, TLado::Nuevo), Lugar_Tiempo(n), datos_.Tiempo_Maximo,
                     QStringLiteral("GEN_MEN041"));
    }
}

void TF_Decoder_Salidas::Rellena_TODOS_CEROS_IZ() {
    for (int n = 1; n <= Salidas; ++n)
        if (!Codigo_Nuevo(n).isEmpty())
            Codigo(n, TLado::Nuevo)->setText(Rellena_Ceros_Iz(Codigo_Nuevo(n), Ancho));
}

bool TF_Decoder_Salidas::Graba() {
    bool todo_aceptado = true;
    for (int n = 1; n <= Salidas; ++n) {
        // A setting is written only over a code the decoder took.
        const bool aceptado = Graba_Fila(n - 1, [this, n] {
            return Escribe_Codigo_Salida(Prefijo(), Codigo_Nuevo(n), n) && Escribe_Ajuste(n);
        });
        todo_aceptado = todo_aceptado && aceptado;
    }
    return todo_aceptado;
}

QList<TCodigo_Registro> TF_Decoder_Salidas::Codigos_Registro(TLado lado) const {
    QList<TCodigo_Registro> codigos;
    for (int n = 1; n <= Salidas; ++n)
        Anade_Codigo(codigos, Fila().Espacio, Codigo(n, lado)->text(), Lugar_Registro(n - 1));
    return codigos;
}
