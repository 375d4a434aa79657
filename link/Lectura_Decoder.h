#pragma once
// A decoder's read-out as the program takes it: which frames a decoder sends on its own, the
// acknowledgement each gets, where each value goes, and when the read-out has ended; and how
// a reply's status byte is judged. No windows here: the editors show what it reports, the
// line monitor words it, and both judge frames by the same rules.
//
// A read-out of a model with N values is N data frames (first byte 0x00), then the
// identification frame (0x40, byte 1 the model's identification byte); each is acknowledged at
// once with 0x20 and bytes 0, 2 and 3 of the frame. A model without values (the digitizer)
// announces itself twice instead (first byte 0x5n, not acknowledged); the second counts.

#include "Trama_Dec.h"

#include <cstdint>
#include <optional>

enum class TClase_Trama { Dato, Identificacion, Anuncio, Otra };
TClase_Trama Clase_Trama(const Trama_Dec& trama);

// The acknowledgement of a data or identification frame.
Trama_Dec Acuse_Lectura(const Trama_Dec& trama);

// The status byte of a reply, as each request judges it.
// Most requests: exactly 0x20.
bool Aceptada_Simple(const Trama_Dec& respuesta);
// A register read of a panel (0x6n): 0x2 in the high nibble, whatever the low one.
bool Aceptada_Lectura_Panel(const Trama_Dec& respuesta);
// A register write of a panel (0xDn): the echo of the new panel number for register 0x21, of
// the unit nibble otherwise.
bool Aceptada_Escritura_Panel(const Trama_Dec& peticion, const Trama_Dec& respuesta);
// The reply to any request, by its command: what the line monitor shows as accepted.
bool Respuesta_Aceptada(const Trama_Dec& peticion, const Trama_Dec& respuesta);

// What a model's read-out looks like on the line.
struct TForma_Lectura {
    uint8_t Identificacion = 0;
    int Valores = 0; // data frames of one read-out; 0: the model announces itself instead

    bool operator==(const TForma_Lectura&) const = default;
};

// Whether an editor of this model takes the frame (acknowledges it or reads it).
bool Tomada(const TForma_Lectura& forma, const Trama_Dec& trama);
// An identification frame of a decoder of another model.
bool De_Otro_Modelo(const TForma_Lectura& forma, const Trama_Dec& trama);

class TLectura_Decoder {
public:
    // What one frame, or the end of a pause, did.
    struct TPaso {
        std::optional<Trama_Dec> Acuse;     // to write at once
        int Valor = -1;                     // a data frame: the value's place (0 = first)
        bool Empieza = false;               // ... the first of a new read-out
        bool Todos = false;                 // ... the last: every value has come
        bool Vigilar = false;               // values are missing: watch for a pause
        bool Fin = false;                   // the read-out has ended (identification or pause)
        bool Con_Identificacion = false;    // ... with an identification frame
        int Cortada_Tras = -1;              // ... part of the way: the values that came
        bool Completa = false;              // ... every value and the model's identification came
        std::optional<uint8_t> Otro_Modelo; // ... the identification of another model
        bool Anunciado = false;             // a model without values announced itself
    };

    // A new editor receives the frames: its model, and the first value next.
    void Empieza(const TForma_Lectura& forma);
    // The editor was closed: a read-out it had not ended does not count later.
    void Cierra() { leidos_ = 0; }
    // The next data frame is the first value again.
    void Reinicia() { posicion_ = 0; }

    TPaso Recibe(const Trama_Dec& trama);
    // No frame came for a while after a data frame with values still missing.
    TPaso Pausa();

    // The place of the next data frame (the routing state of old: Salida_Actual).
    int Salida_Actual() const { return posicion_; }
    const TForma_Lectura& Forma() const { return forma_; }

private:
    TPaso Dato(const Trama_Dec& trama);
    TPaso Identificacion(const Trama_Dec& trama);
    TPaso Anuncio();
    // Ends a read-out part of the way: the next one starts at its first value.
    void Corta(TPaso& paso);

    TForma_Lectura forma_;
    int posicion_ = 0;
    int leidos_ = 0; // data frames of the read-out in progress
};
