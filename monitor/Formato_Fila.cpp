#include "Formato_Fila.h"

#include "Significado.h"

#include <QDateTime>

using T = TTexto_Monitor;

QString Texto_Columna(TColumna columna, const TFila_Linea& f, const TFila_Linea* anterior,
                      const TTextos_Monitor& x) {
    switch (columna) {
    case TColumna::Hora:
        return QDateTime::fromMSecsSinceEpoch(f.Hora_ms).toString(QStringLiteral("HH:mm:ss.zzz"));
    case TColumna::Intervalo:
        return anterior ? QString::number(f.Hora_ms - anterior->Hora_ms) : QString();
    case TColumna::Sentido:
        return x[Hacia_La_Linea(f) ? T::ToLine : T::FromLine];
    case TColumna::Bytes:
        return Bytes_Hex(f);
    case TColumna::Significado:
        return Significado(f, x);
    case TColumna::Cuantas:
        break;
    }
    return {};
}

QStringList Textos_Fila(const TFila_Linea& f, const TFila_Linea* anterior,
                        const TTextos_Monitor& x) {
    QStringList columnas;
    for (int c = 0; c < static_cast<int>(TColumna::Cuantas); ++c)
        columnas << Texto_Columna(static_cast<TColumna>(c), f, anterior, x);
    return columnas;
}

QString Titulo_Columna(TColumna columna, const TTextos_Monitor& x) {
    switch (columna) {
    case TColumna::Hora:
        return x[T::ColTime];
    case TColumna::Intervalo:
        return x[T::ColDelta];
    case TColumna::Sentido:
        return x[T::ColDirection];
    case TColumna::Bytes:
        return x[T::ColBytes];
    case TColumna::Significado:
        return x[T::ColMeaning];
    case TColumna::Cuantas:
        break;
    }
    return {};
}

QString Linea_Texto(const QStringList& columnas) {
    return columnas.join(QLatin1Char('\t'));
}
