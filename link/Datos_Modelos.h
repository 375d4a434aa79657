#pragma once
// The decoder models, one row each, in the order of the main window's list: every fact the
// program knows about a model. The identification texts, the monitor's closing frames and
// read-out lengths, the re-programming choice, the routing and the creation of the editors
// all derive from these rows. How an editor is made lives with the editors (models/), keyed
// by the row's family; which editor window is open for a model, with the windows.

#include "Espacio_Codigo.h"
#include "Trama_Dec.h"

#include <QString>

#include <cstdint>
#include <deque>
#include <vector>

constexpr uint8_t Sin_Identificacion = 0x00;

// The device codes a decoder answers a query to, as the devices test and the re-programming
// window type them: four-digit audio codes, or three digits behind the class letter D, A or B.
// A digitizer answers none.
enum class TTipo_Codigo { Ninguno, Audio, D, A, B };

// The editor window family that serves a model (one source each in models/).
enum class TFamilia {
    Llamada,       // one four-digit call code per output
    Panel,         // one three-digit panel code per output
    Sensores,      // sensor code and time per output
    Reles,         // relay code, time and state per output
    Torvik,        // start and end of an address range, entrance flag
    Digitalizador, // panel, block and times of a digitizer
    Conversor,     // the bus address of a converter
};

struct TModelo {
    int Referencia;          // 6745
    uint8_t Codigo;          // Modelo_Activo while its editor receives the frames
    uint8_t Identificacion;  // Sin_Identificacion for a device that never sends one
    int Tramas;              // data frames of one read-out (0: it sends announcements instead)
    Trama_Dec Cierre;        // the frame that ends its programming mode, bytes in line order
    TEspacio_Codigo Espacio; // where its codes must be unique
    TTipo_Codigo Tipo_Codigo;
    TFamilia Familia;
    // Place in the re-programming choice among the models that share its identification byte
    // (0: after those that have one, in list order).
    int Eleccion = 0;
    // The editor puts the focus back on the first New field once Save has reported.
    bool Foco_Tras_Grabar = true;

    // The language key of its name in the list: "List_6745".
    QString Clave_Lista() const;
    // Position in the main window's list.
    int Posicion() const;
};

// The class letter written before the three digits of a code of this type ("D", "A", "B"), on
// the line and in the fields; audio codes and devices without a code carry none.
QString Letra_Codigo(TTipo_Codigo tipo);

// The rows; references stay valid while the program runs, rows added included.
const std::deque<TModelo>& Tabla_Modelos();
// Adds a model after the others, before the windows are created (a test's own model). A
// reference or routing code that another row has already is refused with std::logic_error.
void Anade_Modelo(const TModelo& modelo);

const TModelo* Modelo_Por_Referencia(int referencia);
const TModelo* Modelo_Por_Codigo(uint8_t codigo);
// Every model whose decoders answer with this byte, in list order (several share one).
std::vector<const TModelo*> Modelos_Por_Identificacion(uint8_t identificacion);
// The models the re-programming choice offers for a byte, in its order (by Eleccion).
std::vector<const TModelo*> Modelos_En_Eleccion(uint8_t identificacion);
// Every model that shares its identification byte with another: by byte, then as above.
std::vector<const TModelo*> Modelos_Compartidos();
