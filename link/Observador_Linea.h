#pragma once
// What the decoder link tells a listener about the traffic on the line: each frame written,
// each frame taken, each piece of input dropped and each time-out. The link calls the listener
// on the user-interface thread, in the middle of its own work, and goes on at once: a listener
// only notes what it is told (no waiting, no windows, no files) and never throws.

#include "Trama_Dec.h"

#include <cstdint>

struct TSuceso_Linea {
    enum Tipo : uint8_t {
        Peticion,      // a request written by Transact (one row per attempt)
        Directa,       // a frame written alone (an acknowledgement)
        Respuesta,     // a frame taken as the reply to the pending request
        No_Solicitada, // a frame taken while no request waited (handed on as unsolicited)
        Rezagada,      // a frame dropped as the late reply to an earlier attempt
        Restos,        // bytes dropped by resynchronisation: a stray byte, a partial frame
        Sobrante,      // bytes that waited beyond a frame, dropped with it
        Sin_Respuesta, // no reply within the wait: Intento of Intentos timed out
    };

    Tipo Clase = Peticion;
    // The bytes: a whole frame, or for Restos and Sobrante up to four of them (Longitud says
    // how many; none for Sin_Respuesta).
    Trama_Dec Trama{};
    uint8_t Longitud = 4;
    // The request under way, for Peticion, Respuesta, Rezagada and Sin_Respuesta.
    Trama_Dec Peticion_Actual{};
    // 1-based attempt of Intentos; 0 when the frame is not part of a request.
    uint8_t Intento = 0;
    uint8_t Intentos = 0;
    // The request awaits a reply (false for frames written twice without one).
    bool Con_Respuesta = false;
};

class TObservador_Linea {
public:
    virtual ~TObservador_Linea() = default;
    virtual void Suceso(const TSuceso_Linea& suceso) noexcept = 0;
};
