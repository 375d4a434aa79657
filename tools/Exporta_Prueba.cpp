#include "Exporta_Prueba.h"

#include "Csv.h"
#include "Idiomas.h"
#include "Momento_Iso.h"

#include <QStringList>

QByteArray Texto_Csv_Prueba(const QList<TFila_Prueba>& filas) {
    QStringList cabecera;
    for (const char* clave : {"GEN_MEN129", "GEN_MEN130", "GEN_MEN131", "GEN_MEN091", "GEN_MEN132"})
        cabecera << Texto(QString::fromLatin1(clave));
    const QString si = Texto(QStringLiteral("GEN_MEN095"));
    const QString no = Texto(QStringLiteral("GEN_MEN096"));
    QList<QStringList> lineas{cabecera};
    lineas.reserve(filas.size() + 1);
    for (const TFila_Prueba& f : filas)
        lineas.append(
            {f.Dispositivo, f.Tipo, f.Respondido ? si : no, f.Decoder, Momento_Iso(f.Momento)});
    return Fichero_Csv(lineas);
}
