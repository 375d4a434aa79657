#pragma once
// The installation record as the Installation window, the CSV export and the handover report
// read it: plain values, taken from the database in one go, so that none of them holds the
// database open or sees it change under them.

#include "Registro.h"

#include <QDateTime>
#include <QList>
#include <QString>

// One read-out, survey or Save of a decoder.
struct TEvento_Registro {
    enum class TTipo { Lectura, Grabacion, Sondeo };
    TTipo Tipo = TTipo::Lectura;
    QDateTime Momento;
    QString Puerto;                 // read-outs and surveys: the port they came in on
    QList<TValor_Registro> Valores; // as read, or as written
    QList<bool> Aceptadas;          // Saves: whether each value's write was acknowledged
    bool Todo_Aceptado = false;     // Saves
    TFrase Resultado;               // Saves: the outcome the user was shown
};

struct TDecoder_Registro {
    qint64 Id = 0;
    int Referencia = 0;
    QString Ubicacion; // "Entrance A, floor 3", given by the user
    QString Nota;
    // The last known configuration: the last read-out, with every acknowledged write since.
    QList<TValor_Registro> Configuracion;
    QList<TCodigo_Registro> Codigos;
    QDateTime Ultima_Lectura;   // invalid when never read
    QDateTime Ultima_Grabacion; // invalid when never saved
    bool Sondeado = false;      // the last read-out was a survey's
    TFrase Resultado;           // the outcome of the last Save
    // A surveyed decoder whose identification byte several models share: Referencia is 0 and
    // these are the models it may be, until the installer settles it.
    QList<int> Posibles;
    // A read-out after the last write showed the configuration (or nothing was ever written).
    bool Confirmado = false;
};

// Two decoders answering the same code: each with its code that overlaps the other's.
struct TChoque_Registro {
    qint64 Decoder = 0;
    TCodigo_Registro Codigo;
    qint64 Otro = 0;
    TCodigo_Registro Codigo_Otro;
};

// A code that answered a survey's query without a read-out.
struct TProblema_Registro {
    QDateTime Momento;
    TProblema_Sondeo Problema;
};

// Who hands the installation over to whom, for the handover report; typed in its dialog and
// remembered with the installation.
struct TDatos_Entrega {
    QString Instalador; // the installer or the installing company
    QString Cliente;
    QString Direccion; // the site's address
    QString Notas;     // may hold line breaks
};

struct TInstantanea {
    QString Fichero;
    QString Sitio; // "Calle Mayor 12"
    TDatos_Entrega Entrega;
    QList<TDecoder_Registro> Decoders;
    QList<TChoque_Registro> Choques;
    QList<TProblema_Registro> Problemas; // oldest first
    // Null for a decoder the snapshot does not hold.
    const TDecoder_Registro* Busca(qint64 decoder) const {
        for (const TDecoder_Registro& d : Decoders)
            if (d.Id == decoder)
                return &d;
        return nullptr;
    }
};

// What the Installation window reads and edits. The database implements it; tests give their
// own.
class TFuente_Instalacion {
public:
    virtual ~TFuente_Instalacion() = default;
    virtual TInstantanea Instantanea() const = 0;
    // Each read-out, survey and Save of the decoder, oldest first.
    virtual QList<TEvento_Registro> Historia(qint64 decoder) const = 0;
    // False when the record could not store it (opened read-only, or the file failed).
    virtual bool Pon_Ubicacion(qint64 decoder, const QString& ubicacion) = 0;
    virtual bool Pon_Nota(qint64 decoder, const QString& nota) = 0;
    // Settles the model of a surveyed decoder among its possible ones. False when not stored.
    virtual bool Decide_Modelo(qint64 /*decoder*/, int /*referencia*/) { return false; }
    virtual bool Pon_Entrega(const TDatos_Entrega& entrega) = 0;
    virtual bool Solo_Lectura() const = 0;
};
