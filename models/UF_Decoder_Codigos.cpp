#include "UF_Decoder_Codigos.h"

#include "Conversion.h"
#include "Errores.h"
#include "UComunicaciones.h"
#include "Valores_Leidos.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

QString Nombre_Numero(int primero, int k) {
    return primero > 0 ? QStringLiteral("Label%1").arg(primero + k - 1) : QString();
}

} // namespace

TF_Decoder_Codigos::TF_Decoder_Codigos(const QString& nombre, const TDatos_Codigos& datos,
                                       QWidget* parent)
    : TF_Decoder(nombre, datos.Modelo, parent), datos_(datos), salidas_(Fila().Tramas),
      prefijo_(Letra_Codigo(Fila().Tipo_Codigo)) {
    BitBtn1 = Crea_Boton(QStringLiteral("BitBtn1"), QStringLiteral("cifras.png"),
                         QStringLiteral("GEN_MEN011"));
    BitBtn3 = Crea_Boton(QStringLiteral("BitBtn3"), QStringLiteral("borrar.png"),
                         QStringLiteral("GEN_MEN012"));
    connect(BitBtn1, &QPushButton::clicked, this, Atrapa([this] { BitBtn1Click(); }));
    connect(BitBtn3, &QPushButton::clicked, this, Atrapa([this] { BitBtn3Click(); }));

    TRejilla rejilla;
    rejilla.Rotulos = {QStringLiteral("GEN_MEN03"), QStringLiteral("Label5"),
                       QStringLiteral("Label21")};
    rejilla.Columnas = {
        {QStringLiteral("GEN_MEN04"), QStringLiteral("Label3"), QStringLiteral("Label4")}};
    const int n = salidas_;
    for (int k = 1; k <= n; ++k) {
        rejilla.Filas.append(
            {QString::number(k),
             Nombre_Numero(datos.Primer_Numero_Actual, k),
             Nombre_Numero(datos.Primer_Numero_Nuevo, k),
             {{TTipo_Celda::Edit, QStringLiteral("Edit%1").arg(n + k), datos.Ancho}},
             {{TTipo_Celda::Edit, QStringLiteral("Edit%1").arg(k), datos.Ancho}},
             {}});
    }
    Construye_Rejilla(rejilla, {BitBtn1, BitBtn3});
    Aplica_Textos();
}

QLineEdit* TF_Decoder_Codigos::Codigo(int k, TLado lado) const {
    return Celda<QLineEdit>(k - 1, 0, lado);
}

QString TF_Decoder_Codigos::Nuevo(int k) const {
    return Codigo(k, TLado::Nuevo)->text();
}

void TF_Decoder_Codigos::Inicializa_Valores() {
    for (int k = 1; k <= salidas_; ++k)
        Codigo(k, TLado::Actual)->clear();
    Inicializa_Valores_Solo_Nuevos();
    Codigo(1, TLado::Nuevo)->setFocus();
}

void TF_Decoder_Codigos::Inicializa_Valores_Solo_Nuevos() {
    for (int k = 1; k <= salidas_; ++k)
        Codigo(k, TLado::Nuevo)->clear();
}

void TF_Decoder_Codigos::Pon_Valor(int k, const Trama_Dec& FTResul) {
    // The models with three-digit codes drop the class nibble, whatever it is.
    Codigo(k + 1, TLado::Nuevo)->setText(Codigo_Leido(FTResul, datos_.Ancho));
    Codigo(k + 1, TLado::Actual)->setText(Nuevo(k + 1));
}

bool TF_Decoder_Codigos::Decoder_Vacio() const {
    for (int k = 1; k <= salidas_; ++k)
        if (!Nuevo(k).isEmpty())
            return false;
    return true;
}

void TF_Decoder_Codigos::BitBtn1Click() {
    if (Nuevo(1).isEmpty())
        return;
    Codigo(1, TLado::Nuevo)->setText(Rellena_Ceros_Iz(Nuevo(1), datos_.Ancho));
    int mayor = 1;
    for (int d = 0; d < datos_.Ancho; ++d)
        mayor *= 10;
    --mayor;
    for (int k = 2; k <= salidas_; ++k) {
        const int valor = StrToInt(Nuevo(1)) + k - 1;
        // Judged on the number: the field's width limit would cut 10000 down to 1000.
        Codigo(k, TLado::Nuevo)
            ->setText(valor > mayor ? QString()
                                    : Rellena_Ceros_Iz(QString::number(valor), datos_.Ancho));
    }
}

void TF_Decoder_Codigos::BitBtn3Click() {
    Inicializa_Valores_Solo_Nuevos();
}

bool TF_Decoder_Codigos::Comienza_Grabacion() {
    if (!Nuevo(1).isEmpty())
        return true;
    for (int k = 2; k <= salidas_; ++k)
        if (!Nuevo(k).isEmpty())
            return false;
    return true;
}

void TF_Decoder_Codigos::Comprueba_Nuevos() {
    // The key filter lets a blank through, and "12 4" would be written as another code.
    for (int k = 1; k <= salidas_; ++k)
        Exige_Digitos(Codigo(k, TLado::Nuevo), Lugar_Codigo(k));
}

void TF_Decoder_Codigos::Rellena_TODOS_CEROS_IZ() {
    for (int k = 1; k <= salidas_; ++k)
        if (!Nuevo(k).isEmpty())
            Codigo(k, TLado::Nuevo)->setText(Rellena_Ceros_Iz(Nuevo(k), datos_.Ancho));
}

bool TF_Decoder_Codigos::Graba() {
    bool todo_aceptado = true;
    for (int n = 1; n <= salidas_; ++n) {
        const QString codigo = Nuevo(n);
        // A four-digit code is its own first digit followed by the other three.
        const bool propio = prefijo_.isEmpty();
        const QString prefijo = propio ? codigo.left(1) : prefijo_;
        const QString resto = propio ? codigo.mid(1) : codigo;
        const bool aceptado = Graba_Fila(n - 1, [&] {
            return Escribe_Codigo_Salida(prefijo, codigo.isEmpty() ? QString() : resto, n);
        });
        todo_aceptado = todo_aceptado && aceptado;
    }
    return todo_aceptado;
}

QList<TCodigo_Registro> TF_Decoder_Codigos::Codigos_Registro(TLado lado) const {
    QList<TCodigo_Registro> codigos;
    for (int k = 1; k <= salidas_; ++k)
        Anade_Codigo(codigos, Fila().Espacio, Codigo(k, lado)->text(), Lugar_Registro(k - 1));
    return codigos;
}

void TF_Decoder_Codigos::Informa_Grabacion(bool todo_aceptado) {
    TF_Decoder::Informa_Grabacion(todo_aceptado);
    if (Fila().Foco_Tras_Grabar)
        Codigo(1, TLado::Nuevo)->setFocus();
}
