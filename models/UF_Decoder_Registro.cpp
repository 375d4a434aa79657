// The editor and the installation record: the part of TF_Decoder that gives the record what
// the editor shows (a read-out, a Save about to write, a Save's outcome) and asks it about
// the New codes.

#include "UF_Decoder.h"

#include "Configuracion.h"
#include "Idiomas.h"
#include "Linea_Estado.h"
#include "Registro.h"
#include "Rotulos.h"
#include "UVentana_Kalvex.h"
#include "Valor_Control.h"

#include <QMessageBox>
#include <QPushButton>

TConfiguracion TF_Decoder::Configuracion(TLado lado) const {
    TConfiguracion configuracion;
    configuracion.Referencia = Referencia();
    for (const TValor_Rejilla& v : Valores_Rejilla())
        configuracion.Valores.append(
            {v.Campo, Frase_Valor(v), Frase_Control(Celda(v.Fila, v.Columna, lado))});
    configuracion.Codigos = Codigos_Registro(lado);
    return configuracion;
}

QList<TF_Decoder::TValor_Rejilla> TF_Decoder::Valores_Rejilla() const {
    QList<TValor_Rejilla> valores;
    for (int fila = 0; fila < rejilla_.Filas.size(); ++fila) {
        const TFila& f = rejilla_.Filas[fila];
        // Keyed by the Current control in both columns, so that a value written replaces the
        // value read in the same place.
        for (int columna = 0; columna < f.Nuevo.size() && columna < f.Actual.size(); ++columna)
            valores.append({fila, columna, f.Actual[columna].Nombre, f.Actual[columna].Ancho});
    }
    return valores;
}

TFrase TF_Decoder::Frase_Valor(const TValor_Rejilla& valor) const {
    TFrase lugar = Lugar_Registro(valor.Fila);
    if (rejilla_.Filas[valor.Fila].Nuevo.size() > 1 && valor.Columna < rejilla_.Columnas.size())
        lugar +=
            TFrase(QStringLiteral(", ")) + TFrase::De_Clave(rejilla_.Columnas[valor.Columna].Clave);
    return lugar;
}

TFrase TF_Decoder::Lugar_Registro(int fila) const {
    const TFila& f = rejilla_.Filas.at(fila);
    if (!rejilla_.Numeros)
        return f.Clave.isEmpty() ? TFrase(Lugar_Fila(fila)) : TFrase::De_Clave(f.Clave);
    return TFrase::De_Clave(rejilla_.Rotulos.Clave) + QStringLiteral(" ") + f.Rotulo;
}

QList<TCodigo_Registro> TF_Decoder::Codigos_Registro(TLado) const {
    return {};
}

void TF_Decoder::Anade_Codigo(QList<TCodigo_Registro>& codigos, TEspacio_Codigo espacio,
                              const QString& texto, const TFrase& lugar) {
    bool valido = false;
    // Hexadecimal, as the decoder holds the digits: "0012" and "12" are one code.
    const qint64 valor = texto.toLongLong(&valido, 16);
    if (valido && !texto.trimmed().isEmpty())
        codigos.append({espacio, valor, valor, texto, lugar});
}

void TF_Decoder::Anota_Lectura() {
    leido_ = true;
    Actualiza_Marcas();
    TConfiguracion leida = Configuracion(TLado::Actual);
    leida.Vacia = Decoder_Vacio();
    Registro().Lectura(Sys_Port, leida);
    if (releyendo_)
        Concluye_Relectura();
    else
        linea_estado_->Pon(Texto(QStringLiteral("Est_Complete")).arg(TLinea_Estado::Hora()));
}

bool TF_Decoder::Confirma_Choques() {
    const QStringList choques = Registro().Choques(Configuracion(TLado::Nuevo));
    if (choques.isEmpty())
        return true;
    QMessageBox caja(QMessageBox::Warning, Titulo_Kalvex(), Texto(QStringLiteral("GEN_MEN100")),
                     QMessageBox::NoButton, this);
    caja.setObjectName(QStringLiteral("Choques"));
    caja.setInformativeText(choques.join(QLatin1Char('\n')));
    QPushButton* grabar =
        caja.addButton(Texto(QStringLiteral("GEN_MEN101")), QMessageBox::AcceptRole);
    QPushButton* cancelar =
        caja.addButton(Texto(QStringLiteral("GEN_MEN019")), QMessageBox::RejectRole);
    // Cancel is the safe answer to a key pressed in haste.
    caja.setDefaultButton(cancelar);
    caja.setEscapeButton(cancelar);
    Sobre_Su_Ventana(&caja);
    caja.exec();
    return caja.clickedButton() == grabar;
}

void TF_Decoder::Anota_Grabacion(bool todo_aceptado) {
    TGrabacion_Registro grabacion;
    grabacion.Nueva = Configuracion(TLado::Nuevo);
    // Each value carries its row's acknowledgement.
    for (int fila = 0; fila < rejilla_.Filas.size(); ++fila) {
        const TFila& f = rejilla_.Filas[fila];
        for (int columna = 0; columna < f.Nuevo.size() && columna < f.Actual.size(); ++columna)
            grabacion.Aceptadas.append(filas_aceptadas_.value(fila).value_or(false));
    }
    grabacion.Todo_Aceptado = todo_aceptado;
    grabacion.Resultado =
        TFrase::De_Clave(todo_aceptado ? QStringLiteral("F_MENSA19") : QStringLiteral("F_MENSA04"));
    Registro().Grabacion(grabacion);
}
