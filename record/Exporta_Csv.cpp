#include "Exporta_Csv.h"

#include "Csv.h"
#include "Guarda_Fichero.h"
#include "Idiomas.h"
#include "Instantanea.h"
#include "Presenta_Registro.h"

#include <QStringList>

namespace {

QStringList Cabecera() {
    QStringList campos;
    for (const char* clave : {"GEN_MEN091", "GEN_MEN071", "GEN_MEN072", "GEN_MEN073", "GEN_MEN092",
                              "GEN_MEN093", "GEN_MEN075", "GEN_MEN076", "GEN_MEN077", "GEN_MEN094"})
        campos << Texto(QString::fromLatin1(clave));
    return campos;
}

} // namespace

QByteArray Texto_Csv(const TInstantanea& instantanea) {
    QList<QStringList> filas{Cabecera()};
    TTextos_Registro textos;
    for (const TDecoder_Registro& d : instantanea.Decoders) {
        const QString& si_no = textos.Si_No(d.Confirmado);
        const QString modelo = textos.Modelo(d);
        const QString resultado = textos.Frase(d.Resultado);
        auto fila = [&](const QString& lugar, const QString& valor) {
            filas.append({QString::number(d.Id), modelo, d.Ubicacion, d.Nota, lugar, valor,
                          Momento_Iso(d.Ultima_Lectura), Momento_Iso(d.Ultima_Grabacion), resultado,
                          si_no});
        };
        // A decoder with nothing known yet still has its row: the export lists every decoder.
        if (d.Configuracion.isEmpty())
            fila(QString(), QString());
        for (const TValor_Registro& v : d.Configuracion)
            fila(textos.Frase(v.Lugar), textos.Frase(v.Texto));
    }
    return Fichero_Csv(filas);
}

bool Exporta_Csv(const TInstantanea& instantanea, const QString& fichero, QString& causa) {
    return Guarda_Fichero(fichero, Texto_Csv(instantanea), causa);
}
