#pragma once
// The installation's decoders as the program keeps them in memory: which decoder a read-out
// or a Save belongs to, their last known configurations, and the clashes of their codes.
// It is what the record answers from at once; the database only stores it.

#include "Indice_Codigos.h"
#include "Instantanea.h"

#include <QHash>
#include <QMap>
#include <QMultiHash>

// A code of one decoder overlapping a code of another; Decoder 0: the New codes of an editor
// without a decoder yet.
using TCoincidencia = TChoque_Registro;

class TEstado_Instalacion {
public:
    // The decoders of the file, and the Saves since each one's last read-out (what they wrote
    // without an acknowledgement, the decoder may hold).
    void Carga(const QList<TDecoder_Registro>& decoders,
               const QHash<qint64, QList<TEvento_Registro>>& sin_lectura = {});
    // Back to what the file holds, keeping the editors' decoders that it still has.
    void Recarga(const QList<TDecoder_Registro>& decoders,
                 const QHash<qint64, QList<TEvento_Registro>>& sin_lectura);
    // By id, oldest first.
    const QMap<qint64, TDecoder_Registro>& Decoders() const { return decoders_; }

    // The decoder the read-out shows: the one whose model and last known values it matches,
    // else a new one. It becomes the current decoder of its model's editor.
    const TDecoder_Registro& Lectura(const TConfiguracion& leida, const QDateTime& momento);
    // A Save is about to write the editor's New values to the decoder of its read-out (or to a
    // new one): until a read-out tells, the decoder may hold any of them.
    const TDecoder_Registro& Intencion(const TConfiguracion& nueva);
    // The decoder of the editor's read-out, or a new one. Acknowledged writes update its last
    // known configuration.
    const TDecoder_Registro& Grabacion(const TGrabacion_Registro& grabacion,
                                       const QDateTime& momento);
    void Editor_Cerrado(int referencia) { actual_.remove(referencia); }
    // The decoder a survey read out: one of the installation's whose model (one of `posibles`
    // when Referencia is 0) and last known values or codes the read-out shows, else a new one.
    // A match among the possible models settles the model.
    const TDecoder_Registro& Sondeo(const TConfiguracion& leida, const QList<int>& posibles,
                                    const QDateTime& momento);
    // The decoder's model settled among its possible ones, with its configuration as that
    // model words it; false when it is not one of them.
    bool Decide_Modelo(const TDecoder_Registro& decidido);

    // Null for a decoder the installation does not have.
    const TDecoder_Registro* Busca(qint64 decoder) const;
    // The texts the user gives a decoder the installation has.
    void Pon_Detalles(qint64 decoder, const QString& ubicacion, const QString& nota);

    // The New codes against every decoder but the one the editor shows.
    QList<TCoincidencia> Choques(const TConfiguracion& nueva) const;
    // Every pair of decoders answering the same code, once (Decoder < Otro).
    QList<TCoincidencia> Choques_Instalacion() const;
    // The models of the decoders whose codes overlap the code (an undecided one's possible
    // models), each once, in the order of their codes.
    QList<int> Modelos_Codigo(const TCodigo_Registro& codigo) const;

private:
    TDecoder_Registro& Nuevo(int referencia);
    // A decoder of the model whose last known values, or else whose codes, the read-out
    // shows; null for none.
    TDecoder_Registro* Del_Modelo(int referencia, const TConfiguracion& leida);
    TDecoder_Registro& Del_Editor(int referencia);
    // The written values in doubt after a Save: acknowledged ones are known, the others may or
    // may not be in the decoder. True when some were acknowledged.
    bool Anota_Dudosos(qint64 decoder, const QList<TValor_Registro>& valores,
                       const QList<bool>& aceptadas, bool todo_aceptado);
    // The decoder with values in doubt that the read-out shows, latest first; null for none.
    TDecoder_Registro* Con_Dudosos(const TConfiguracion& leida);
    void Cambia(TDecoder_Registro& decoder, const QList<TValor_Registro>& valores,
                const QList<TCodigo_Registro>& codigos);
    const TCodigo_Registro& Codigo(const TIndice_Codigos::TEntrada& entrada) const;
    // Whether the read-out shows the decoder's last known configuration, taking each value
    // written without an acknowledgement as either what it was or what was written (or, where
    // nothing was known, anything, as long as some value written shows).
    bool Muestra_Dudoso(const TDecoder_Registro& decoder, const TConfiguracion& leida) const;

    QMap<qint64, TDecoder_Registro> decoders_;
    qint64 ultimo_id_ = 0;
    QHash<int, qint64> actual_; // model → the decoder its editor shows
    // Values written to a decoder without an acknowledgement since its last read-out: the
    // decoder may hold them or its former ones.
    QHash<qint64, QList<TValor_Registro>> sin_acuse_;
    QMultiHash<QString, qint64> firmas_; // model and last known values → decoders
    TIndice_Codigos indice_;
};
