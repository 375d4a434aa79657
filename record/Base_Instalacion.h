#pragma once
// One installation's record: an SQLite file that the windows' read-outs, Saves, devices tests
// and surveys are recorded in, and that the Installation window reads.
//
// The program creates one for the file the user chose, installs it with Instala_Registro and
// replaces it when another file is opened. All of it is used from the user-interface thread.
// Every recording call changes the state in memory at once (so Choques is right at once) and
// queues its SQL for the record's own thread (Hilo_Base.h); none of them raises or waits for
// the disk. When the SQL fails (a full disk), the state in memory goes back to what the file
// holds and the owner is told (Al_Fallar), so nothing is shown that is not stored. The
// destructor stores everything queued before it returns.
//
// A second program opening the same file shows it read-only: its recording calls still update
// its memory, so its own clash checks stay right, but it stores nothing.

#include "Apertura.h"
#include "Diario.h"
#include "Estado_Instalacion.h"
#include "Hilo_Base.h"
#include "Instantanea.h"
#include "Redaccion_Choque.h"
#include "Registro.h"

#include <QHash>
#include <QLockFile>
#include <QObject>
#include <QSqlDatabase>

#include <functional>

class TBase_Instalacion final : public TRegistro, public TFuente_Instalacion {
public:
    // Opens the file, creating it (and its folder) when missing. A damaged file is set aside
    // and a new one started; Aviso says so.
    explicit TBase_Instalacion(const QString& fichero);
    ~TBase_Instalacion() override;

    QString Fichero() const { return fichero_; }
    QString Sitio() const { return sitio_; }
    // The site's name ("Calle Mayor 12"). False when it could not be stored.
    bool Pon_Sitio(const QString& sitio);
    // What the program must tell the user about the file (set aside, read-only, not usable),
    // in the current language; empty when there is nothing to tell.
    QString Aviso() const;

    // Called on the user-interface thread when something recorded could not be stored, after
    // the record has gone back to what its file holds, with SQLite's reason.
    void Al_Fallar(std::function<void(const QString& causa)> aviso) {
        al_fallar_ = std::move(aviso);
    }

    void Lectura(const QString& puerto, const TConfiguracion& leida) override;
    QStringList Choques(const TConfiguracion& nueva) override;
    void Intencion(const TConfiguracion& nueva) override;
    void Grabacion(const TGrabacion_Registro& grabacion) override;
    void Prueba(const TPrueba_Registro& fila) override;
    void Editor_Cerrado(int referencia) override;
    QList<int> Modelos_Codigo(const TCodigo_Registro& codigo) const override;
    void Sondeo(const TSondeo_Registro& sondeo) override;
    void Problema_Sondeo(const TProblema_Sondeo& problema) override;
    void Pon_Avance_Sondeo(const QString& avance) override;
    QString Avance_Sondeo() const override { return avance_; }
    QList<TCodigo_Registro> Codigos_Conocidos() const override;

    TInstantanea Instantanea() const override;
    QList<TEvento_Registro> Historia(qint64 decoder) const override;
    bool Pon_Ubicacion(qint64 decoder, const QString& ubicacion) override;
    bool Pon_Nota(qint64 decoder, const QString& nota) override;
    bool Decide_Modelo(qint64 decoder, int referencia) override;
    bool Pon_Entrega(const TDatos_Entrega& entrega) override;
    bool Solo_Lectura() const override { return !apertura_.Escribible(); }

private:
    using TEscritura = std::function<bool(QSqlDatabase&)>;
    // One transaction on the record's thread, after those queued before; nothing when the
    // file is not written. Escribe_Ya waits and says whether it was stored, and why not.
    void Encola(TEscritura escritura);
    bool Escribe_Ya(TEscritura escritura, QString* causa = nullptr);
    // The decoder's row and one event of it (the event `*id` when given and set).
    void Guarda(const TDecoder_Registro& decoder, const TEvento_Registro& evento, qint64 id = 0);
    // On the record's thread: the writes as one transaction, on a connection whose journal
    // is its own. False with the reason in `causa`.
    bool Escribe(const TEscritura& escritura, QString& causa);
    // A queued write failed: back to what the file holds, and tell the owner.
    void Vuelve_Al_Fichero(const QString& causa);
    // Stores the decoder's texts, then keeps them in memory. False when not stored.
    bool Pon_Detalles(const TDecoder_Registro* decoder, const QString& ubicacion,
                      const QString& nota);

    // The clash texts of the current language: looking them up reads the language file,
    // which would cost a Save with a clash milliseconds each time.
    const TRedaccion_Choque& Redaccion() const;
    // What the file holds besides the decoders, kept in memory as read.
    void Toma(TApertura& leida);

    const QString fichero_;
    const QString conexion_; // the Qt SQL connection's name, unique to this object
    QLockFile cerrojo_;
    TApertura apertura_;
    QString sitio_;
    QString avance_;
    QList<TProblema_Registro> problemas_;
    TDatos_Entrega entrega_;
    TEstado_Instalacion estado_;
    // The Save begun in each model's editor: the event that its outcome rewrites.
    QHash<int, qint64> intenciones_;
    std::function<void(const QString&)> al_fallar_;
    // Record thread only.
    mutable TDiario diario_;
    // Takes the record thread's news of a failed write to the user-interface thread; gone
    // with the record, and with it any news not yet delivered.
    QObject correo_;
    mutable TRedaccion_Choque redaccion_;
    mutable QString idioma_redaccion_; // the language redaccion_ is in
    // Last: ends first, storing what is queued while the rest is still there.
    mutable THilo_Base hilo_;
};
