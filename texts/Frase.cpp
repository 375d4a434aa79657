#include "Frase.h"

#include "Idiomas.h"

TFrase TFrase::De_Clave(const QString& clave, const QStringList& argumentos) {
    TFrase frase;
    frase.partes_.append({clave, argumentos, {}});
    return frase;
}

TFrase& TFrase::operator+=(const TFrase& otra) {
    for (const TParte_Frase& p : otra.partes_) {
        // Literals side by side are one: "Output" + " 2" compares equal however it was built.
        if (p.Clave.isEmpty() && !partes_.isEmpty() && partes_.last().Clave.isEmpty())
            partes_.last().Literal += p.Literal;
        else
            partes_.append(p);
    }
    return *this;
}

const QString& TRedaccion::Texto_De(const QString& clave) const {
    auto hallado = textos_.find(clave);
    if (hallado == textos_.end())
        hallado = textos_.insert(clave, Texto(clave));
    return *hallado;
}

QString TRedaccion::Redacta(const TFrase& frase) const {
    QString texto;
    for (const TParte_Frase& p : frase.Partes()) {
        if (p.Clave.isEmpty()) {
            texto += p.Literal;
            continue;
        }
        QString parte = Texto_De(p.Clave);
        for (const QString& a : p.Argumentos)
            parte = parte.arg(a);
        // A field's label keyed as a place ends in ":" or " :" in some languages; what the
        // phrase is shown in adds its own.
        while (parte.endsWith(QLatin1Char(':')) || parte.endsWith(QLatin1Char(' ')))
            parte.chop(1);
        texto += parte;
    }
    return texto;
}

QString Redacta(const TFrase& frase) {
    return TRedaccion().Redacta(frase);
}
