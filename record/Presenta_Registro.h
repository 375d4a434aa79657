#pragma once
// How the record's values read for the user, alike in the Installation window, the CSV export
// and the handover report.

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
    // As Momento_Iso, but "never" in the user's language for an invalid moment.
    QString Momento(const QDateTime& momento) const;
    const QString& Si_No(bool si) const { return si ? si_ : no_; }

private:
    QString nunca_;
    QString si_;
    QString no_;
    QHash<int, QString> modelos_;
};

// "Place: value" pairs, the first few of them, "…" standing for the rest.
QString Valores_En_Corto(const QList<TValor_Registro>& valores);
