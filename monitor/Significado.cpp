#include "Significado.h"

#include "Conversion.h"
#include "DECODER2.h"
#include "Datos_Modelos.h"
#include "Enrutado.h"
#include "Lectura_Decoder.h"
#include "Modelos.h"
#include "UComunicaciones.h"

#include <QStringList>

#include <algorithm>

using T = TTexto_Monitor;

namespace {

// A 16-bit word as the editors show it: the high byte (frame byte 3) first.
QString Palabra(const Trama_Dec& t) {
    return Hex2(t[3]) + Hex2(t[2]);
}

// The registers of a frame mean what the family of the editor that sent it makes of them.
bool De_Familia(const TModelo* modelo, TFamilia familia) {
    return modelo && modelo->Familia == familia;
}

// The models whose closing frame has this command, register and end word (frame byte 3).
QString Cierre(uint8_t orden, uint8_t registro, uint8_t palabra) {
    QStringList referencias;
    for (const TModelo& m : Tabla_Modelos())
        if (m.Cierre[0] == orden && m.Cierre[1] == registro && m.Cierre[3] == palabra)
            referencias << QString::number(m.Referencia);
    return referencias.join(QLatin1Char('/'));
}

QString Escritura(const Trama_Dec& t, const TModelo* modelo, const TTextos_Monitor& x) {
    const uint8_t registro = t[1];
    const bool sin_valor = t[2] == 0xFF && t[3] == 0xFF;
    if (De_Familia(modelo, TFamilia::Torvik) && registro <= 0x04 && registro % 2 == 0) {
        if (registro == 0x04)
            return x[T::WriteEntrance].arg(sin_valor ? x[T::Yes] : x[T::No]);
        const QString valor = sin_valor ? x[T::None] : Palabra(t);
        return x[registro == 0 ? T::WriteStart : T::WriteEnd].arg(valor);
    }
    if (De_Familia(modelo, TFamilia::Conversor) && registro == 0x00)
        return x[T::WriteAddress].arg(t[3] == 0x8F && t[2] == 0x00 ? x[T::None] : Palabra(t));
    if (registro <= 0x0E && registro % 2 == 0) {
        const int salida = registro / 2 + 1;
        return sin_valor ? x[T::WriteNoCode].arg(salida)
                         : x[T::WriteCode].arg(salida).arg(Palabra(t));
    }
    if (registro >= 0x20 && registro <= 0x2E && registro % 2 == 0) {
        const int salida = (registro - 0x20) / 2 + 1;
        if (De_Familia(modelo, TFamilia::Sensores)) {
            if (t[3] == 0xFF)
                return x[T::WriteNoTime].arg(salida);
            return x[t[3] & 0x80 ? T::WriteTimeMin : T::WriteTimeSec].arg(salida).arg(t[3] & 0x7F);
        }
        if (De_Familia(modelo, TFamilia::Reles))
            return x[T::WriteMode].arg(salida).arg(t[3]).arg(t[2] ? QStringLiteral("ON")
                                                                  : QStringLiteral("OFF"));
    }
    return x[T::WriteWord].arg(Hex2(registro), Palabra(t));
}

QString Lectura(const Trama_Dec& t, const TModelo* modelo, const TTextos_Monitor& x) {
    const uint8_t registro = t[1];
    const int unidad = t[0] & 0x0F;
    if (unidad != 0 || De_Familia(modelo, TFamilia::Digitalizador))
        return x[T::ReadPanel].arg(Hex2(registro)).arg(unidad).arg(Hex2(t[3]));
    if ((De_Familia(modelo, TFamilia::Sensores) || De_Familia(modelo, TFamilia::Reles)) &&
        registro >= 0x20 && registro <= 0x2F) {
        const int salida = (registro - 0x20) / 2 + 1;
        return x[registro % 2 == 0 ? T::ReadTime : T::ReadState].arg(salida);
    }
    return x[T::ReadRegister].arg(Hex2(registro), Palabra(t));
}

QString Peticion(const Trama_Dec& t, const TModelo* modelo, const TTextos_Monitor& x) {
    const uint8_t orden = t[0];
    switch (orden & 0xF0) {
    case 0x60:
        return Lectura(t, modelo, x);
    case 0xD0:
        return x[T::WritePanel].arg(Hex2(t[1])).arg(orden & 0x0F).arg(Hex2(t[3])).arg(t[2]);
    default:
        break;
    }
    if (orden == 0xB0)
        return Escritura(t, modelo, x);
    if (orden == 0x70 && t[1] == 0x01)
        return x[T::Query].arg(Palabra(t));
    if (orden == 0x80 && t[1] == 0x01)
        return x[T::Arm].arg(Palabra(t));
    if (orden == 0x50 && t[1] == 0x10)
        return x[T::ProgRequest].arg(Palabra(t));
    const QString cierre = Cierre(orden, t[1], t[3]);
    if (!cierre.isEmpty())
        return x[T::Closing].arg(cierre);
    if (orden == 0x50 && t[1] == 0x04 && t[3] == 0xAF)
        return x[T::ClosingSaved].arg(Cierre(0x50, 0x20, t[3]));
    return x[T::UnknownRequest];
}

QString Acuse(const Trama_Dec& t, const TTextos_Monitor& x) {
    if (t[0] != 0x20)
        return x[T::UnknownRequest];
    if (t[1] == 0x00)
        return x[T::AckData];
    if (t[1] == 0x40)
        return x[T::AckIdent];
    return x[T::AckOther].arg(Hex2(t[1]));
}

QString Respuesta(const TSuceso_Linea& s, const TTextos_Monitor& x) {
    const Trama_Dec& t = s.Trama;
    if (!Respuesta_Aceptada(s.Peticion_Actual, t))
        return x[T::Refused].arg(Hex2(t[0]));
    const uint8_t orden = s.Peticion_Actual[0] & 0xF0;
    if (orden == 0x70)
        return x[T::Answer].arg(Hex2(t[1]), Nombre_Referencia(t[1]));
    if (orden == 0x60)
        return x[T::Value].arg(t[1]);
    return x[T::Acknowledged];
}

QString Identificacion(const Trama_Dec& t, const TTextos_Monitor& x) {
    return x[T::Ident].arg(Hex2(t[1]), Nombre_Referencia(t[1]));
}

QString Anuncio(const Trama_Dec& t, const TTextos_Monitor& x) {
    return x[T::Announce].arg(t[0] & 0x0F).arg(Hex2(t[3]));
}

// What the frame is, whoever takes it.
QString Trama_Suelta(const Trama_Dec& t, const TTextos_Monitor& x) {
    switch (Clase_Trama(t)) {
    case TClase_Trama::Dato:
        return x[T::DataFrameAny];
    case TClase_Trama::Identificacion:
        return Identificacion(t, x);
    case TClase_Trama::Anuncio:
        return Anuncio(t, x);
    case TClase_Trama::Otra:
        break;
    }
    return x[T::UnknownFrame];
}

bool Otro_Decoder(const TFila_Linea& f) {
    const TModelo* m = Modelo_Por_Codigo(f.Modelo);
    return m && De_Otro_Modelo(Forma_Lectura(*m), f.Suceso.Trama);
}

QString No_Solicitada(const TFila_Linea& f, const TTextos_Monitor& x) {
    const Trama_Dec& t = f.Suceso.Trama;
    const TModelo* m = Modelo_Por_Codigo(f.Modelo);
    if (!m)
        return x[T::NoEditor].arg(Trama_Suelta(t, x));
    const QString editor = QString::number(m->Referencia);
    if (!Tomada(Forma_Lectura(*m), t))
        return x[T::Ignored].arg(Trama_Suelta(t, x), editor);
    if (Clase_Trama(t) == TClase_Trama::Anuncio)
        return f.Salida == 0 ? x[T::AnnounceFirst].arg(Anuncio(t, x)) : Anuncio(t, x);
    if (Clase_Trama(t) == TClase_Trama::Dato) {
        // The read-out wraps at its last value; a stale count past it is shown as the editor
        // will take it.
        const int total = std::max(m->Tramas, 1);
        return x[T::DataFrame].arg(f.Salida % total + 1).arg(total).arg(editor);
    }
    if (Otro_Decoder(f))
        return x[T::WrongDecoder].arg(Identificacion(t, x), editor);
    return Identificacion(t, x);
}

QString Con_Intento(const QString& texto, const TSuceso_Linea& s, const TTextos_Monitor& x) {
    if (s.Intento <= 1)
        return texto;
    return x[T::Attempt].arg(texto).arg(s.Intento).arg(s.Intentos);
}

} // namespace

QString Significado(const TFila_Linea& f, const TTextos_Monitor& x) {
    const TSuceso_Linea& s = f.Suceso;
    switch (s.Clase) {
    case TSuceso_Linea::Peticion:
        return Con_Intento(Peticion(s.Trama, Modelo_Por_Codigo(f.Modelo), x), s, x);
    case TSuceso_Linea::Directa:
        return Acuse(s.Trama, x);
    case TSuceso_Linea::Respuesta:
        return Con_Intento(Respuesta(s, x), s, x);
    case TSuceso_Linea::No_Solicitada:
        return No_Solicitada(f, x);
    case TSuceso_Linea::Rezagada:
        return x[T::Late];
    case TSuceso_Linea::Restos:
        return x[T::Debris].arg(s.Longitud);
    case TSuceso_Linea::Sobrante:
        return x[T::Excess].arg(s.Longitud);
    case TSuceso_Linea::Sin_Respuesta:
        return x[T::Timeout].arg(TDECODER2::Espera_Respuesta_ms).arg(s.Intento).arg(s.Intentos);
    }
    return {};
}

bool Hacia_La_Linea(const TFila_Linea& f) {
    return f.Suceso.Clase == TSuceso_Linea::Peticion || f.Suceso.Clase == TSuceso_Linea::Directa;
}

bool De_Peticion(const TFila_Linea& f) {
    switch (f.Suceso.Clase) {
    case TSuceso_Linea::Peticion:
    case TSuceso_Linea::Respuesta:
    case TSuceso_Linea::Rezagada:
    case TSuceso_Linea::Sin_Respuesta:
        return true;
    default:
        return false;
    }
}

bool Del_Decoder(const TFila_Linea& f) {
    return f.Suceso.Clase == TSuceso_Linea::No_Solicitada ||
           f.Suceso.Clase == TSuceso_Linea::Directa;
}

bool Es_Problema(const TFila_Linea& f) {
    switch (f.Suceso.Clase) {
    case TSuceso_Linea::Sin_Respuesta:
    case TSuceso_Linea::Rezagada:
    case TSuceso_Linea::Restos:
    case TSuceso_Linea::Sobrante:
        return true;
    case TSuceso_Linea::Respuesta:
        return !Respuesta_Aceptada(f.Suceso.Peticion_Actual, f.Suceso.Trama);
    case TSuceso_Linea::No_Solicitada:
        return Otro_Decoder(f);
    default:
        return false;
    }
}

QString Bytes_Hex(const TFila_Linea& f) {
    QString texto;
    for (int i = 0; i < f.Suceso.Longitud; ++i) {
        if (i > 0)
            texto += QLatin1Char(' ');
        texto += Hex2(f.Suceso.Trama[i]);
    }
    return texto;
}
