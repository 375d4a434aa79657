#pragma once
// The decoder link: a serial line that sends 4-byte requests and waits for their 4-byte
// replies, and reports every other frame as unsolicited. Runs entirely on the user-interface
// thread; the wait inside Transact keeps serving that thread's events.

#include "Observador_Linea.h"
#include "TDecoderLink.h"
#include "USerialLine.h"

#include <QTimer>

#include <functional>
#include <stdexcept>

using TDECRecibedNotDemand = std::function<void(QObject* Sender, Trama_Dec FTResul)>;

// Raised when a transaction is started while another one waits for its reply: the engine
// state is shared, so the running one must be left alone.
class EDecoderBusy : public std::runtime_error {
public:
    EDecoderBusy();
};

class TDECODER2 : public TSerialLine, public TDecoderLink {
    Q_OBJECT
public:
    explicit TDECODER2(QObject* owner = nullptr);
    ~TDECODER2() override;

    Trama_Dec Transact(uint8_t Command, uint8_t Address, uint8_t DataHigh, uint8_t DataLow,
                       bool WaitReply) override;
    Trama_Dec Transact_Intentos(uint8_t Command, uint8_t Address, uint8_t DataHigh, uint8_t DataLow,
                                int intentos) override;
    void Envia_Trama(const Trama_Dec& frame) override;
    // A transaction is under way (its caller waits in a nested event loop).
    bool En_Espera() const { return En_Transaccion; }
    // The one listener to the traffic (null: none). It must outlive the link or be removed.
    void Observa(TObservador_Linea* observador) { Observador = observador; }

    // How long a request waits for its reply, per attempt.
    static constexpr int Espera_Respuesta_ms = 250;

    TDECRecibedNotDemand OnDECRecibedNotDemand;

signals:
    // Attempt `intento` of `intentos` of a request that awaits its reply is about to be
    // written; an attempt after the first means that the ones before it had no answer. Any
    // number of receivers may listen (the line monitor's observer is another matter). They are
    // called from inside Transact, which goes on as soon as they return: a receiver only notes
    // what it is told (no waiting, no modal windows) and never starts a transaction.
    void Intento_Empezado(int intento, int intentos);

protected:
    // A transaction under way keeps the line as it is until it ends.
    bool CanReopen() const override { return !En_Transaccion; }

public:
    QTimer* T_Respuesta;

private:
    Trama_Dec Transaccion(const Trama_Dec& peticion, bool WaitReply, int intentos);
    void Recibe_Trama(QObject* Sender, int Count);
    void Fin_Espera();
    // Drops the bytes waiting that cannot be the start of a frame any more: a partial frame
    // that waited too long, or one that came before the last frame written can have been
    // answered.
    void Descarta_Restos();
    // Writes a frame and notes when, for Descarta_Restos; the listener hears of it once
    // the port has taken it.
    void Escribe(const Trama_Dec& frame, TSuceso_Linea::Tipo clase);
    // Tells the listener, if there is one; bytes beyond four go as further pieces.
    void Notifica(TSuceso_Linea::Tipo clase, const uint8_t* bytes, int count);
    // Serves events until Descartar_Hasta, dropping every frame that arrives meanwhile.
    void Espera_Respuestas_Rezagadas();

    Trama_Dec Trama_Peticion;
    Trama_Dec Trama_Respuesta = Trama_Sin_Respuesta;
    bool Peticion_Pendiente = false;
    bool Esperando_Respuesta = false;
    bool Respuesta_Recibida = false;
    bool En_Transaccion = false;

    // When the last frame was handed to the port.
    TLineClock::time_point Inicio_Escritura{};
    // Replies to the attempts of a finished transaction may still arrive until then.
    TLineClock::time_point Descartar_Hasta{};
    bool Descartando = false;

    TObservador_Linea* Observador = nullptr;
    // The attempt under way, for the listener.
    uint8_t Intento = 0;
    uint8_t Intentos = 0;
    bool Con_Respuesta = false;
};
