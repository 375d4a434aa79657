#include "UF_Decoder_6786.h"

#include "Idiomas.h"
#include "UComunicaciones.h"

#include <QLineEdit>

namespace {

const QString Sin_Direccion = QStringLiteral("8F00");
constexpr int Ancho = 4;

} // namespace

// With one value the common read-out already does what this device needs: each data frame
// empties both fields and fills them, and the counter stays at 0.
TF_Decoder_6786_II::TF_Decoder_6786_II(QWidget* parent)
    : TF_Decoder(QStringLiteral("F_Decoder_6786_II"),
                 {QStringLiteral("6786"), QStringLiteral("decoder.jpg")}, parent) {
    TRejilla rejilla;
    rejilla.Nombre_Nuevo = QStringLiteral("Label18");
    rejilla.Numeros = false;
    rejilla.Filas = {Fila_De_Clave(QStringLiteral("GEN_MEN035"), QStringLiteral("Label2"),
                                   QStringLiteral("Label11"),
                                   {{TTipo_Celda::Edit, QStringLiteral("Edit1"), Ancho}},
                                   {{TTipo_Celda::Edit, QStringLiteral("Edit3"), Ancho}})};
    Construye_Rejilla(rejilla);
    // The device's own address is only shown: the field is drawn disabled, not just read-only.
    Edit(1)->setEnabled(false);
    Aplica_Textos();
}

void TF_Decoder_6786_II::Inicializa_Valores() {
    Edit(1)->clear();
    Edit(3)->clear();
}

void TF_Decoder_6786_II::Pon_Valor(int, const Trama_Dec& FTResul) {
    const QString texto = Palabra(FTResul);
    Edit(1)->setText(texto == Sin_Direccion ? QString() : texto);
    Edit(3)->setText(Edit(1)->text());
}

bool TF_Decoder_6786_II::Decoder_Vacio() const {
    return Edit(1)->text().isEmpty();
}

void TF_Decoder_6786_II::T_Estado_TiempoInicialTimer() {
    TF_Decoder::T_Estado_TiempoInicialTimer();
    if (!Decoder_Vacio())
        Edit(3)->setFocus();
}

void TF_Decoder_6786_II::Comprueba_Nuevos() {
    Exige_Digitos(Edit(3), Lugar_Fila(0));
}

void TF_Decoder_6786_II::Rellena_TODOS_CEROS_IZ() {
    if (!Edit(3)->text().isEmpty())
        Edit(3)->setText(Rellena_Ceros_Iz(Edit(3)->text(), Ancho));
}

bool TF_Decoder_6786_II::Graba() {
    return Graba_Fila(0, [this] { return Escribe_Codigo_Base(Edit(3)->text()); });
}

QList<TCodigo_Registro> TF_Decoder_6786_II::Codigos_Registro(TLado lado) const {
    QList<TCodigo_Registro> codigos;
    Anade_Codigo(codigos, Fila().Espacio, Edit(lado == TLado::Nuevo ? 3 : 1)->text(),
                 Lugar_Registro(0));
    return codigos;
}

void TF_Decoder_6786_II::Informa_Grabacion(bool todo_aceptado) {
    if (!todo_aceptado)
        TF_Decoder::Informa_Grabacion(todo_aceptado);
}
