// The read-back after a Save: the part of TF_Decoder that asks the decoder, by a code it now
// answers, for what it holds, and compares that with what the Save wrote.

#include "UF_Decoder.h"

#include "Idiomas.h"
#include "Linea_Estado.h"
#include "Modelos.h"
#include "UComunicaciones.h"
#include "Valor_Control.h"

#include <QTimer>

#include <utility>

namespace {

// The device code as the devices test and the re-programming window type it: four digits,
// or the class letter followed by three.
QString Codigo_Dispositivo(TTipo_Codigo tipo, qint64 valor) {
    const QString cuatro = QStringLiteral("%1").arg(valor, 4, 16, QLatin1Char('0')).toUpper();
    if (tipo == TTipo_Codigo::Audio || valor > 0xFFF)
        return cuatro;
    return Letra_Codigo(tipo) + cuatro.right(3);
}

} // namespace

QString TF_Decoder::Codigo_Relectura() const {
    const TTipo_Codigo tipo = Fila().Tipo_Codigo;
    if (tipo == TTipo_Codigo::Ninguno || Fila().Tramas <= 0)
        return {};
    // The decoder answers to its codes as they now stand: what the Save wrote where it was
    // acknowledged, what the read-out showed elsewhere.
    QList<TFrase> escritos;
    for (int fila : Filas_Aceptadas())
        escritos.append(Lugar_Registro(fila));
    for (const TCodigo_Registro& c : Codigos_Registro(TLado::Nuevo))
        if (escritos.contains(c.Lugar))
            return Codigo_Dispositivo(tipo, c.Desde);
    if (leido_)
        for (const TCodigo_Registro& c : Codigos_Registro(TLado::Actual))
            if (!escritos.contains(c.Lugar))
                return Codigo_Dispositivo(tipo, c.Desde);
    return {};
}

void TF_Decoder::Relee() {
    const QString codigo = Codigo_Relectura();
    if (codigo.isEmpty())
        return;
    escritos_.clear();
    for (const TValor_Rejilla& v : Valores_Rejilla())
        escritos_.append(Valor_Control(Celda(v.Fila, v.Columna, TLado::Nuevo)));
    // As the re-programming window asks: the read-out starts at its first value.
    Lectura().Reinicia();
    relectura_pendiente_ = true;
    espera_relectura_->start();
    linea_estado_->Pon(Texto(QStringLiteral("Est_ReadingBack")));
    Solicita_Programacion(codigo);
}

void TF_Decoder::Sin_Relectura() {
    if (releyendo_)
        Relectura_Cortada();
    else if (!std::exchange(relectura_pendiente_, false))
        return;
    linea_estado_->Pon(Texto(QStringLiteral("Est_NoReadBack")), true);
}

void TF_Decoder::Repone_Escritos() {
    const QList<TValor_Rejilla> valores = Valores_Rejilla();
    for (int i = 0; i < valores.size() && i < escritos_.size(); ++i)
        Pon_Valor_Control(Celda(valores[i].Fila, valores[i].Columna, TLado::Nuevo), escritos_[i]);
}

void TF_Decoder::Concluye_Relectura() {
    releyendo_ = false;
    Repone_Escritos();
    const QString vacio = Texto(QStringLiteral("Cfg_Empty"));
    auto texto = [&](const QWidget* control, const QJsonValue& valor) {
        const QString t = marcas_.Texto_Valor(control, valor);
        return t.isEmpty() ? vacio : t;
    };
    QList<QPair<QWidget*, QString>> difieren;
    const QList<TValor_Rejilla> valores = Valores_Rejilla();
    for (int i = 0; i < valores.size() && i < escritos_.size(); ++i) {
        QWidget* actual = Celda(valores[i].Fila, valores[i].Columna, TLado::Actual);
        QWidget* nuevo = Celda(valores[i].Fila, valores[i].Columna, TLado::Nuevo);
        const QJsonValue tiene = Valor_Control(actual);
        if (tiene != escritos_[i])
            difieren.append({nuevo, Texto(QStringLiteral("Est_Differs"))
                                        .arg(texto(actual, tiene), texto(nuevo, escritos_[i]))});
    }
    marcas_.Pon_Difiere(difieren);
    Actualiza_Marcas();
    if (difieren.isEmpty())
        linea_estado_->Pon(Texto(QStringLiteral("Est_ReadBackOk")).arg(TLinea_Estado::Hora()));
    else if (difieren.size() == 1)
        linea_estado_->Pon(Texto(QStringLiteral("Est_ReadBackDiff1")), true);
    else
        linea_estado_->Pon(Texto(QStringLiteral("Est_ReadBackDiffN")).arg(difieren.size()), true);
}

void TF_Decoder::Relectura_Cortada() {
    // The read-out emptied the New column: the values the Save wrote come back, and the
    // writes acknowledged are what is known of the decoder.
    releyendo_ = false;
    Repone_Escritos();
    marcas_.Anota_Escritos(Nuevos_De_Filas(Filas_Aceptadas()));
    // The writes not acknowledged are marked again, as the Save left them.
    Marca_Sin_Acuse(Filas_Sin_Acuse());
}
