#pragma once
// How the record's values read for the user, alike in the Installation window, the CSV export
// and the handover report.

#include "Frase.h"
#include "Instantanea.h"
#include "Momento_Iso.h"
#include "Registro.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

// The texts that every row of a listing repeats, each looked up once: the language file is
// read from disk at each lookup, which a list of 500 decoders would feel.
class TTextos_Registro {
public:
    TTextos_Registro();
    // "6745 - Audio Decoder 4"; the reference alone for a model the language file does not
    // name.
    const QString& Modelo(int referencia);
    // The decoder's model; "6745, 6713 or 6734" while a survey left it undecided.
    QString Modelo(int referencia, const QList<int>& posibles);
    QString Modelo(const TDecoder_Registro& d) { return Modelo(d.Referencia, d.Posibles); }
    // A stored fact in the current language.
    QString Frase(const TFrase& frase) const { return redaccion_.Redacta(frase); }
    // "Read-out", "Save", "Survey".
    QString Tipo(TEvento_Registro::TTipo tipo) const;
    // Why a survey's code gave no read-out.
    QString Fallo(TFallo_Sondeo fallo) const;
    // As Momento_Iso, but "never" in the user's language for an invalid moment.
    QString Momento(const QDateTime& momento) const;
    const QString& Si_No(bool si) const { return si ? si_ : no_; }

private:
    TRedaccion redaccion_;
    QString nunca_;
    QString si_;
    QString no_;
    QHash<int, QString> modelos_;
};

// The decoder's reference, or "6745, 6713 or 6734" while a survey left its model undecided.
QString Referencias(int referencia, const QList<int>& posibles, const TRedaccion& redaccion);
// "Place: value" pairs, the first few of them, "…" standing for the rest.
QString Valores_En_Corto(const QList<TValor_Registro>& valores, const TTextos_Registro& textos);
