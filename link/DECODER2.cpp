#include "DECODER2.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {
constexpr int Intentos_Con_Respuesta = 3;
constexpr int Intentos_Sin_Respuesta = 2;
constexpr auto Espera_Respuesta = std::chrono::milliseconds(TDECODER2::Espera_Respuesta_ms);

// A decoder sends a frame's four bytes back to back (5 ms at 9600 baud), but a USB adapter
// passes on what it has received when its latency timer runs out (16 ms by default), so one
// frame may reach us in two pieces up to that far apart. A partial frame that has waited
// longer than this is debris (a stray byte, line noise) and is dropped before new bytes are
// taken. Three latency timers leave room for a loaded machine and a slower adapter; it is
// still a fifth of the reply wait.
constexpr auto Hueco_Maximo_En_Trama = std::chrono::milliseconds(50);
} // namespace

EDecoderBusy::EDecoderBusy()
    : std::runtime_error("The decoder link is busy: another request is still waiting for its "
                         "reply. Try again when it has finished.") {}

TDECODER2::TDECODER2(QObject* owner) : TSerialLine(owner), T_Respuesta(new QTimer(this)) {
    TLineParity parity = Parity();
    parity.Bits = TParityBits::prOdd;
    SetParity(parity);
    SetStopBits(TStopBits::sbTwoStopBits);
    // A coarse timer may fire a few per cent early and cut the decoder's 250 ms short.
    T_Respuesta->setTimerType(Qt::PreciseTimer);
    T_Respuesta->setInterval(Espera_Respuesta_ms);
    connect(T_Respuesta, &QTimer::timeout, this, &TDECODER2::Fin_Espera);
    OnRxChar = [this](QObject* sender, int count) { Recibe_Trama(sender, count); };
}

TDECODER2::~TDECODER2() {
    T_Respuesta->stop();
    OnRxChar = nullptr;
}

Trama_Dec TDECODER2::Transact(uint8_t Command, uint8_t Address, uint8_t DataHigh, uint8_t DataLow,
                              bool WaitReply) {
    return Transaccion(Trama_Dec(Command, Address, DataLow, DataHigh), WaitReply,
                       WaitReply ? Intentos_Con_Respuesta : Intentos_Sin_Respuesta);
}

Trama_Dec TDECODER2::Transact_Intentos(uint8_t Command, uint8_t Address, uint8_t DataHigh,
                                       uint8_t DataLow, int intentos) {
    return Transaccion(Trama_Dec(Command, Address, DataLow, DataHigh), true,
                       std::clamp(intentos, 1, Intentos_Con_Respuesta));
}

Trama_Dec TDECODER2::Transaccion(const Trama_Dec& peticion, bool WaitReply, int intentos) {
    if (En_Transaccion)
        throw EDecoderBusy();
    // However the call ends (a write error included), the engine is left idle, so later
    // frames are not mistaken for replies.
    struct Idle {
        TDECODER2& d;
        ~Idle() {
            d.T_Respuesta->stop();
            d.Peticion_Pendiente = false;
            d.Esperando_Respuesta = false;
            d.Respuesta_Recibida = false;
            d.Descartando = false;
            d.En_Transaccion = false;
            d.Intento = 0;
            d.Intentos = 0;
        }
    } idle{*this};
    En_Transaccion = true;
    Espera_Respuestas_Rezagadas();

    Trama_Peticion = peticion;
    Intentos = static_cast<uint8_t>(intentos);
    Intento = 0;
    Con_Respuesta = WaitReply;
    bool sin_respuesta_a_tiempo = false;
    TLineClock::time_point primer_intento{};
    do {
        --intentos;
        ++Intento;
        if (WaitReply)
            emit Intento_Empezado(Intento, Intentos);
        Trama_Respuesta = Trama_Sin_Respuesta;
        Escribe(Trama_Peticion, TSuceso_Linea::Peticion);
        if (primer_intento == TLineClock::time_point{})
            primer_intento = Inicio_Escritura;
        Peticion_Pendiente = true;
        if (WaitReply) {
            Esperando_Respuesta = true;
            Respuesta_Recibida = false;
            T_Respuesta->stop();
            T_Respuesta->start();
            // Sleeps until the next event: the receive hand-over or the time-out.
            while (!Respuesta_Recibida && Esperando_Respuesta)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            T_Respuesta->stop();
            Peticion_Pendiente = false;
            // A frame taken in the same pass as the time-out does not count.
            if (!Esperando_Respuesta)
                Respuesta_Recibida = false;
            if (Respuesta_Recibida) {
                intentos = 0;
                // A reply that came only after an attempt had timed out may be the late
                // answer to an earlier attempt, and then the answers to the later attempts
                // are still on their way; a reply carries nothing that ties it to its
                // request. So the next request waits, dropping what arrives, until the last
                // attempt has had as long as this reply needed since the first attempt, plus
                // one more reply window. A silent decoder never gets here: it costs nothing.
                if (sin_respuesta_a_tiempo)
                    Descartar_Hasta =
                        Inicio_Escritura + (TLineClock::now() - primer_intento) + Espera_Respuesta;
            } else {
                sin_respuesta_a_tiempo = true;
                Notifica(TSuceso_Linea::Sin_Respuesta, nullptr, 0);
            }
            Respuesta_Recibida = false;
        }
    } while (intentos > 0);
    // A request written twice is heard at its first copy: what it asks for (a decoder's
    // read-out) may start while the second copy is still being written, and must not be taken
    // for the leftovers of earlier traffic.
    if (!WaitReply)
        Inicio_Escritura = primer_intento;
    return Trama_Respuesta;
}

void TDECODER2::Envia_Trama(const Trama_Dec& frame) {
    Escribe(frame, TSuceso_Linea::Directa);
}

void TDECODER2::Escribe(const Trama_Dec& frame, TSuceso_Linea::Tipo clase) {
    Inicio_Escritura = TLineClock::now();
    Write(frame.Bytes.data(), 4);
    Notifica(clase, frame.Bytes.data(), 4);
}

void TDECODER2::Notifica(TSuceso_Linea::Tipo clase, const uint8_t* bytes, int count) {
    if (!Observador || (count <= 0 && clase != TSuceso_Linea::Sin_Respuesta))
        return;
    TSuceso_Linea suceso;
    suceso.Clase = clase;
    const bool de_peticion =
        clase == TSuceso_Linea::Peticion || clase == TSuceso_Linea::Respuesta ||
        clase == TSuceso_Linea::Rezagada || clase == TSuceso_Linea::Sin_Respuesta;
    if (de_peticion && En_Transaccion) {
        suceso.Peticion_Actual = Trama_Peticion;
        suceso.Intento = Intento;
        suceso.Intentos = Intentos;
        suceso.Con_Respuesta = Con_Respuesta;
    }
    int desde = 0;
    do {
        const int n = std::min(count - desde, 4);
        suceso.Trama = Trama_Dec{};
        suceso.Longitud = static_cast<uint8_t>(n);
        std::copy_n(bytes + desde, n, suceso.Trama.Bytes.begin());
        Observador->Suceso(suceso);
        desde += n;
    } while (desde < count);
}

void TDECODER2::Espera_Respuestas_Rezagadas() {
    if (TLineClock::now() >= Descartar_Hasta)
        return;
    Descartando = true;
    QTimer fin;
    fin.setSingleShot(true);
    fin.setTimerType(Qt::PreciseTimer);
    bool vencido = false;
    connect(&fin, &QTimer::timeout, this, [&vencido] { vencido = true; });
    for (auto ahora = TLineClock::now(); ahora < Descartar_Hasta; ahora = TLineClock::now()) {
        const auto falta =
            std::chrono::ceil<std::chrono::milliseconds>(Descartar_Hasta - ahora).count();
        vencido = false;
        fin.start(static_cast<int>(falta));
        while (!vencido)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    Descartando = false;
}

void TDECODER2::Descarta_Restos() {
    const std::vector<TInputArrival> llegadas = InputArrivals();
    // Nothing can answer a frame before its four bytes have left the line, and the first byte
    // of an answer takes a character time of its own: bytes that came before then are left
    // over from earlier traffic, such as the tail of a reply that a stray byte pushed out of
    // its frame. Left in place, the tail would take the place of the next reply's first byte,
    // and with replies following each other closer than Hueco_Maximo_En_Trama, of every reply
    // after it. Arrival times are those of the event thread's reads, never earlier than the
    // bytes' own.
    const TLineClock::time_point respuesta_posible = Inicio_Escritura + 5 * CharacterTime();
    int antes = 0;
    int restos = 0;
    for (size_t i = 0; i < llegadas.size(); ++i) {
        const TInputArrival& llegada = llegadas[i];
        if (i > 0 && (llegada.QuietBefore > Hueco_Maximo_En_Trama ||
                      (llegadas[i - 1].At <= respuesta_posible && llegada.At > respuesta_posible)))
            restos = antes;
        antes += llegada.Count;
    }
    if (restos == 0)
        return;
    std::vector<uint8_t> tirados(static_cast<size_t>(restos));
    Notifica(TSuceso_Linea::Restos, tirados.data(), Read(tirados.data(), restos));
}

void TDECODER2::Recibe_Trama(QObject*, int) {
    Descarta_Restos();
    const int waiting = BytesWaiting();
    if (waiting < 4)
        return; // the rest of the frame is still on its way
    // Every waiting byte is read; those beyond the frame are dropped.
    std::vector<uint8_t> bytes(static_cast<size_t>(waiting));
    int n = Read(bytes.data(), waiting);
    // A frame taken in the same pass as the time-out does not count (Transact): it is late.
    const bool tarde = Descartando || (Peticion_Pendiente && Con_Respuesta && !Esperando_Respuesta);
    Notifica(tarde                ? TSuceso_Linea::Rezagada
             : Peticion_Pendiente ? TSuceso_Linea::Respuesta
                                  : TSuceso_Linea::No_Solicitada,
             bytes.data(), std::min(n, 4));
    if (n > 4)
        Notifica(TSuceso_Linea::Sobrante, bytes.data() + 4, n - 4);
    if (Descartando)
        return;
    Trama_Respuesta = Trama_Sin_Respuesta;
    std::copy_n(bytes.begin(), std::min(n, 4), Trama_Respuesta.Bytes.begin());
    Respuesta_Recibida = true;
    if (Peticion_Pendiente)
        return;
    if (OnDECRecibedNotDemand)
        OnDECRecibedNotDemand(this, Trama_Respuesta);
}

void TDECODER2::Fin_Espera() {
    Esperando_Respuesta = false;
    T_Respuesta->stop();
}
