#pragma once
// What the windows tell the installation record and what they ask of it. The record lives
// above the windows; they reach it through this interface, which records nothing until the
// program's start installs the record (tests run without one).
//
// Nothing here may raise: recording never stands in the way of a read-out, a Save or a
// devices test.

#include "Espacio_Codigo.h"
#include "Frase.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// One value of an editor's grid: the object name of its Current control (stable across
// languages and versions), where it is ("Output 2, time" as keys and the output's number), and
// its value (digits as a literal; a check box's state or a list's item as the key of its text).
struct TValor_Registro {
    QString Campo;
    TFrase Lugar;
    TFrase Texto;
};

// The keys a value is recorded as where the editor shows it as a word: a check box's states
// and the time units' list items. An earlier version stored the words themselves.
inline const QStringList Claves_Valor{QStringLiteral("GEN_MEN103"), QStringLiteral("GEN_MEN104"),
                                      QStringLiteral("GEN_MEN07"), QStringLiteral("GEN_MEN08")};

// One code a decoder answers, as a closed range of hexadecimal-digit values (a call code
// "1234" is 0x1234 to 0x1234; a code of another space may be shorter), and where it is in
// the decoder ("output 2").
struct TCodigo_Registro {
    TEspacio_Codigo Espacio = TEspacio_Codigo::Llamada;
    qint64 Desde = 0;
    qint64 Hasta = 0;
    QString Texto; // as the user reads it: "1234", "0100–0199"
    TFrase Lugar;
};

// A decoder's configuration as one editor column holds it.
struct TConfiguracion {
    int Referencia = 0; // the model: 6746
    QList<TValor_Registro> Valores;
    QList<TCodigo_Registro> Codigos;
    bool Vacia = false; // a decoder that stores nothing yet
};

// A Save as it went: the values written, whether each was acknowledged (same order), and the
// outcome the user was shown.
struct TGrabacion_Registro {
    TConfiguracion Nueva;
    QList<bool> Aceptadas;
    bool Todo_Aceptado = false;
    TFrase Resultado;
};

// One row of the devices test.
struct TPrueba_Registro {
    int Codigo = 0;
    QString Tipo;
    bool Respondio = false;
    int Identificacion = -1; // the identification byte, -1 without an answer
};

// A decoder the survey read out whole, without an editor: its configuration as the editor of
// its model would hold it after the same read-out. Referencia of Leida is 0 when its
// identification byte is shared and neither the read-out's shape nor the record told the
// models apart; Posibles then lists them, for the installer to settle.
struct TSondeo_Registro {
    QString Puerto;
    TConfiguracion Leida;
    QList<int> Posibles;
};

// Why a code that answered the survey's query gave no read-out.
enum class TFallo_Sondeo {
    Sin_Lectura,         // nothing within the wait after the programming request
    Incompleta,          // the read-out stopped part of the way
    Otra_Identificacion, // the read-out's identification disagrees with the query's answer
};

// A code that answered the survey's query but gave no read-out.
struct TProblema_Sondeo {
    QString Codigo;          // the device code queried, as typed: "0123", "D045"
    int Identificacion = -1; // the byte of the query's answer
    TFallo_Sondeo Fallo = TFallo_Sondeo::Sin_Lectura;
    QString Puerto;
};

class TRegistro {
public:
    virtual ~TRegistro() = default;
    // A read-out completed in the editor of its model (the Current column, all values).
    virtual void Lectura(const QString& puerto, const TConfiguracion& leida) = 0;
    // The New codes' clashes with the other decoders of the installation, one line each in
    // the user's language; empty when there is none. Asked before a Save sends anything.
    virtual QStringList Choques(const TConfiguracion& nueva) = 0;
    // A Save of these New values is about to send its first frame.
    virtual void Intencion(const TConfiguracion& /*nueva*/) {}
    // A Save made in the editor of the model, after its last frame.
    virtual void Grabacion(const TGrabacion_Registro& grabacion) = 0;
    virtual void Prueba(const TPrueba_Registro& fila) = 0;
    // The editor of the model was closed: its next Save without a read-out is a new decoder.
    virtual void Editor_Cerrado(int referencia) = 0;
    // The models (references) of the installation's decoders known to answer the code: a
    // code of theirs, or a range of theirs that holds it, in the code's space; each model
    // once. Empty when none is, or no installation is open.
    virtual QList<int> Modelos_Codigo(const TCodigo_Registro& /*codigo*/) const { return {}; }
    // The open installation's name and the folder of its file, for what the windows write
    // beside it (a decoder's configuration); empty when none is open.
    virtual QString Nombre_Instalacion() const { return {}; }

    // A decoder the survey read out ("surveyed at" now), and a code that answered it without
    // a read-out.
    virtual void Sondeo(const TSondeo_Registro& /*sondeo*/) {}
    virtual void Problema_Sondeo(const TProblema_Sondeo& /*problema*/) {}
    // How far the survey got, in its own words (the record keeps it, unread), so that it can
    // be resumed later; empty when no survey was left unfinished.
    virtual void Pon_Avance_Sondeo(const QString& /*avance*/) {}
    virtual QString Avance_Sondeo() const { return {}; }
    // Every code of the installation's decoders, for the survey's default ranges.
    virtual QList<TCodigo_Registro> Codigos_Conocidos() const { return {}; }
    virtual QString Carpeta_Instalacion() const { return {}; }
};

// Never null: a record that does nothing until one is installed.
TRegistro& Registro();
// The program's start installs the record; nullptr goes back to the one that does nothing.
void Instala_Registro(TRegistro* registro);
