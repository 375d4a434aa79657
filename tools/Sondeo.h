#pragma once
// The survey of an installation, below its window: for every code of the chosen ranges the
// query the devices test sends; a decoder that answers is asked for its read-out with the
// programming request re-programming sends, and the read-out is taken here, without an
// editor, through the same interpreter (TLectura_Decoder): each frame acknowledged with the
// bytes an editor sends, the values counted, the identification checked, the end judged as an
// editor judges it. The sensors and relays decoders then have each output's time and setting
// read, as their editors do. Last, the model's closing frame, written as closing its editor
// writes it, so the decoder leaves programming mode. The installation record is told each
// decoder read whole (Valores_Leidos.h words it) and each code that answered without giving
// a read-out; a decoder never half.
//
// A decoder read once is not read again: the codes its read-out lists are "served by" it.
// Three models answer with one identification byte: the read-out's length tells them apart
// where it can, else the record, else the record is told all of them.
//
// Like the devices test it runs inside the handler that starts it; each reply wait serves
// the program's events, so Stop is taken within one wait (the code under way is finished, a
// decoder in programming mode closed). While it runs, the decoders' own frames come here and
// no editor can be opened. A port that goes away pauses it before the code it could not
// finish; Sigue goes on from that code. How far it got is kept in the record after each
// code, so that another session can resume it.

#include "Datos_Modelos.h"
#include "Lectura_Decoder.h"
#include "Registro.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

class QTimer;

enum class TRitmo_Sondeo {
    Rapido,    // one attempt per code
    Minucioso, // three, as the devices test
};

// A range of device numbers of one type (Audio, D, A or B), both ends included.
struct TRango_Sondeo {
    TTipo_Codigo Tipo = TTipo_Codigo::Audio;
    int Desde = 0;
    int Hasta = 0;
};

// What one code gave.
struct TFila_Sondeo {
    enum class TClase { Silencioso, Leido, Servido, Problema, Desconocido };
    QString Codigo; // "0123", "D045"
    TClase Clase = TClase::Silencioso;
    QList<int> Referencias; // the model read (several when the record could not tell)
    QString Por;            // Servido: the code at which the decoder serving it was read
    TFallo_Sondeo Fallo = TFallo_Sondeo::Sin_Lectura;
    int Identificacion = -1;
};

class TSondeo : public QObject {
    Q_OBJECT
public:
    explicit TSondeo(QObject* parent = nullptr);
    ~TSondeo() override;

    // A new survey of these ranges at this pace, run at once (Sigue).
    void Empieza(const QList<TRango_Sondeo>& rangos, TRitmo_Sondeo ritmo);
    // Takes up the survey the record remembers, from where it got, and runs it; false when
    // the record remembers none.
    bool Reanuda();
    // Runs from the next code to the last, a Stop, or the port going away.
    void Sigue();
    // After a quick survey: its silent codes once more, with the two attempts they did not
    // have.
    void Repite_Silenciosos();
    // The survey ends after the code under way (within one reply wait); one paused for the
    // port ends at once.
    void Para();

    // Between Empieza (or Reanuda) and its end or a Stop; a pause for the port counts.
    bool Activo() const { return activo_; }
    bool Pausado() const { return pausado_; }
    TRitmo_Sondeo Ritmo() const { return ritmo_; }
    const QList<TRango_Sondeo>& Rangos() const { return rangos_; }

    int Total() const { return static_cast<int>(pendientes_.size()); }
    int Hechos() const { return siguiente_; }
    // The code under way or next, as typed ("0123").
    QString Codigo_Actual() const;
    int Decoders() const;
    const QMap<int, int>& Por_Modelo() const { return por_modelo_; }
    int Servidos() const { return servidos_; }
    int Problemas() const { return problemas_; }
    int Silenciosos() const { return static_cast<int>(silenciosos_.size()); }
    const QStringList& Choques() const { return choques_; }
    // The codes of this session, in the order done.
    const QList<TFila_Sondeo>& Filas() const { return filas_; }

signals:
    void Codigo_Hecho();
    // The port went away; Sigue goes on from the same code.
    void Pausa();
    // Ended: every code done, or stopped.
    void Fin();

private:
    struct TPendiente {
        TTipo_Codigo Tipo;
        int Numero;
        int Intentos;
    };
    struct TServido {
        TTipo_Codigo Tipo;
        qint64 Desde;
        qint64 Hasta;
        QString Por;
    };

    void Activa(bool activo);
    // One code; false when it was not finished (a Stop between attempts).
    bool Sondea(const TPendiente& p);
    const TServido* Servido_Por(const TPendiente& p) const;
    void Lee(const TPendiente& p, const QString& codigo, uint8_t identificacion);
    // Waits for the read-out the programming request started; true when its identification
    // frame came.
    bool Espera_Lectura();
    void Recibe(const Trama_Dec& trama);
    void Cierra(const std::vector<const TModelo*>& modelos);
    void Anota_Problema(const QString& codigo, uint8_t identificacion, TFallo_Sondeo fallo);
    void Anota_Servidos(const TConfiguracion& leida, const TModelo& modelo, const QString& codigo);
    void Guarda_Avance();
    bool Lee_Avance(const QString& avance);
    void Termina();

    TRitmo_Sondeo ritmo_ = TRitmo_Sondeo::Minucioso;
    QList<TRango_Sondeo> rangos_;
    QList<TPendiente> pendientes_;
    int siguiente_ = 0;
    bool activo_ = false;
    bool pausado_ = false;
    bool parar_ = false;

    QList<TPendiente> silenciosos_;
    QList<TServido> servidos_por_;
    QMap<int, int> por_modelo_;
    int servidos_ = 0;
    int problemas_ = 0;
    QStringList choques_;
    QList<TFila_Sondeo> filas_;

    // The read-out under way.
    bool leyendo_ = false;
    TLectura_Decoder lectura_;
    QList<Trama_Dec> datos_;
    std::optional<TLectura_Decoder::TPaso> fin_;
    QTimer* plazo_;
    bool vencido_ = false;
};
