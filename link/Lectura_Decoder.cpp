#include "Lectura_Decoder.h"

namespace {

constexpr uint8_t Trama_Datos = 0x00;
constexpr uint8_t Trama_Identificacion = 0x40;
constexpr uint8_t Trama_Anuncio = 0x50;
constexpr uint8_t Aceptado = 0x20;

} // namespace

TClase_Trama Clase_Trama(const Trama_Dec& t) {
    if (t[0] == Trama_Datos)
        return TClase_Trama::Dato;
    if (t[0] == Trama_Identificacion)
        return TClase_Trama::Identificacion;
    if ((t[0] & 0xF0) == Trama_Anuncio)
        return TClase_Trama::Anuncio;
    return TClase_Trama::Otra;
}

Trama_Dec Acuse_Lectura(const Trama_Dec& t) {
    return {Aceptado, t[0], t[2], t[3]};
}

bool Aceptada_Simple(const Trama_Dec& r) {
    return r[0] == Aceptado;
}

bool Aceptada_Lectura_Panel(const Trama_Dec& r) {
    return (r[0] & 0xF0) == Aceptado;
}

bool Aceptada_Escritura_Panel(const Trama_Dec& p, const Trama_Dec& r) {
    // p[2] is the data byte: the frame is command, register, data low, data high.
    const uint8_t eco = p[1] == 0x21 ? (p[2] | Aceptado) : ((p[0] & 0x0F) | Aceptado);
    return r[0] == eco;
}

bool Respuesta_Aceptada(const Trama_Dec& p, const Trama_Dec& r) {
    switch (p[0] & 0xF0) {
    case 0x60:
        return Aceptada_Lectura_Panel(r);
    case 0xD0:
        return Aceptada_Escritura_Panel(p, r);
    default:
        return Aceptada_Simple(r);
    }
}

bool Tomada(const TForma_Lectura& forma, const Trama_Dec& t) {
    const TClase_Trama clase = Clase_Trama(t);
    if (forma.Valores == 0)
        return clase == TClase_Trama::Anuncio;
    return clase == TClase_Trama::Dato || clase == TClase_Trama::Identificacion;
}

bool De_Otro_Modelo(const TForma_Lectura& forma, const Trama_Dec& t) {
    return forma.Valores > 0 && Clase_Trama(t) == TClase_Trama::Identificacion &&
           t[1] != forma.Identificacion;
}

void TLectura_Decoder::Empieza(const TForma_Lectura& forma) {
    forma_ = forma;
    posicion_ = 0;
}

TLectura_Decoder::TPaso TLectura_Decoder::Recibe(const Trama_Dec& t) {
    if (!Tomada(forma_, t))
        return {};
    switch (Clase_Trama(t)) {
    case TClase_Trama::Dato:
        return Dato(t);
    case TClase_Trama::Identificacion:
        return Identificacion(t);
    case TClase_Trama::Anuncio:
        return Anuncio();
    case TClase_Trama::Otra:
        break;
    }
    return {};
}

TLectura_Decoder::TPaso TLectura_Decoder::Dato(const Trama_Dec& t) {
    TPaso paso;
    paso.Acuse = Acuse_Lectura(t);
    // A place this model does not have (left by another editor) is the start of a read-out,
    // not a field that does not exist.
    const int k = posicion_ < forma_.Valores ? posicion_ : 0;
    paso.Valor = k;
    paso.Empieza = k == 0;
    leidos_ = k + 1;
    posicion_ = (k + 1) % forma_.Valores;
    paso.Todos = posicion_ == 0;
    // A whole read-out needs no watch.
    paso.Vigilar = posicion_ != 0;
    return paso;
}

TLectura_Decoder::TPaso TLectura_Decoder::Identificacion(const Trama_Dec& t) {
    TPaso paso;
    paso.Acuse = Acuse_Lectura(t);
    // The identification frame is the last of a read-out.
    Corta(paso);
    paso.Con_Identificacion = true;
    paso.Completa = leidos_ == forma_.Valores;
    leidos_ = 0;
    if (t[1] != forma_.Identificacion) {
        paso.Completa = false;
        paso.Otro_Modelo = t[1];
    }
    return paso;
}

TLectura_Decoder::TPaso TLectura_Decoder::Anuncio() {
    TPaso paso;
    // The device announces itself twice in a row; only the second frame counts.
    if (posicion_ != 1) {
        posicion_ = 1;
        return paso;
    }
    posicion_ = 0;
    paso.Anunciado = true;
    return paso;
}

TLectura_Decoder::TPaso TLectura_Decoder::Pausa() {
    TPaso paso;
    Corta(paso);
    return paso;
}

void TLectura_Decoder::Corta(TPaso& paso) {
    paso.Fin = true;
    if (forma_.Valores == 0 || posicion_ == 0 || posicion_ >= forma_.Valores)
        return;
    // The decoder stopped part of the way (or a frame was lost): the next read-out must start
    // at the first value, not continue where this one ended and shift every value.
    paso.Cortada_Tras = posicion_;
    posicion_ = 0;
}
