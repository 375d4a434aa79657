#pragma once
// What every decoder editor shares: the window with its picture, model label and prompt, a
// grid of Current and New values built from a description, the read-out of the decoder's own
// frames with their acknowledgements and the identification check, the empty-decoder timer,
// the frame around Save, and the closing frame however the window is closed.
//
// The read-out protocol itself (which frames, their acknowledgements, the count, the end, the
// identification check) is TLectura_Decoder's; the editor shows what it reports.
//
// A model family derives from TF_Decoder, describes its model (TModelo_Editor) and its grid
// (TRejilla), and fills in the hooks: Inicializa_Valores, Valores, Pon_Valor, Decoder_Vacio,
// Comprueba_Nuevos, Graba; the other virtuals have the common behaviour as their default.
//
// Beside the New column's own buttons every editor has three more: save the configuration to
// a file, load one into the New column, and put the Current values back into the New column.
// Each New value that a Save would change is marked (TMarcas_Cambio), and so is each one that
// the last Save wrote and the decoder did not acknowledge. The marks and "back to the current
// values" compare with what the decoder is known to hold: the last read-out plus the writes
// it acknowledged since.
//
// A state line under the buttons says where things stand, always true: the port when it is
// not open, waiting for the programming button, the read-out under way, complete or cut
// short, what the Save under way writes (TProgreso_Grabacion), and how the Save ended.
//
// Read back after Save (the check box beside Save, KALVEX.INI's Read_Back): once a Save had
// any write acknowledged, a model that answers to a device code is asked for its read-out
// with the programming request for its code as it now stands, after the Save's own frames
// and its result dialog. The read-out that follows takes the normal path (acknowledgements,
// the installation record); then the New column is put back as the Save wrote it, each value
// the decoder does not hold as written is marked red, and the state line says the outcome. No
// read-out within a second: the state line says so, and the known values stand.

#include "Datos_Modelos.h"
#include "Lectura_Decoder.h"
#include "Linea_Estado.h"
#include "Marcas_Cambio.h"
#include "Registro.h"
#include "Trama_Dec.h"
#include "UVentana_Kalvex.h"

#include <QJsonValue>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

class QGridLayout;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class TProgreso_Grabacion;
struct TLectura_Fichero;

// The model as the common behaviour needs it.
// The model as the common behaviour needs it; the rest of its facts are its row of the model
// table (Fila()).
struct TModelo_Editor {
    QString Referencia; // "6745": the model label until Go! sets it, the wrong-decoder row
    QString Imagen;     // picture of the decoder (Imagen())
};

// One control of the value grid.
enum class TTipo_Celda { Edit, Combo, Check };
struct TCelda {
    TTipo_Celda Tipo = TTipo_Celda::Edit;
    QString Nombre; // its object name, "Edit5"
    // Edits: width limit in characters (0 = none). A Current control's width is also the
    // longest value a configuration file may give the field (lists that hold any value too).
    int Ancho = 0;
};

// A heading looked up by key, shown over both columns.
struct TCabecera {
    QString Clave;
    QString Nombre_Actual; // object names of its Current and New labels (either may be empty)
    QString Nombre_Nuevo;
};

// One value: its label beside both columns and its controls in each.
struct TFila {
    QString Rotulo; // an output number (shown blue) or a text
    QString Nombre_Actual;
    QString Nombre_Nuevo;
    QList<TCelda> Actual;
    QList<TCelda> Nuevo;
    QString Clave; // a text row's label as its key, for the record
};

// A row labelled by the text of a language key.
TFila Fila_De_Clave(const QString& clave, const QString& nombre_actual, const QString& nombre_nuevo,
                    const QList<TCelda>& actual, const QList<TCelda>& nuevo);

struct TRejilla {
    QString Nombre_Actual = QStringLiteral("Label17"); // "Current" heading
    QString Nombre_Nuevo = QStringLiteral("Label20");  // "New" heading
    bool Numeros = true;                               // the row labels are output numbers
    TCabecera Rotulos;         // heading over the row labels ("Output"); no key = no heading row
    QList<TCabecera> Columnas; // heading over each control of a row ("Value", "Time" …)
    QList<TFila> Filas;
};

// A New value refused before Save sends anything: the message, in the user's language, names
// the field and what it takes; the field has the keyboard focus.
class ERechazo : public std::runtime_error {
public:
    explicit ERechazo(const QString& mensaje) : std::runtime_error(mensaje.toStdString()) {}
};

class TF_Decoder : public TVentana_Kalvex {
    Q_OBJECT
public:
    // Model label: the main window puts the chosen list entry here.
    QLabel* Label14;

    // The model's reference (6745), and its row in the model table.
    int Referencia() const;
    const TModelo& Fila() const;

    // One unsolicited frame while this editor receives them: data frames and the
    // identification frame are acknowledged at once; any other frame is ignored.
    virtual void Lee_Decoder(const Trama_Dec& FTResul);

    // Empties both columns and puts the focus on the first New field.
    virtual void Inicializa_Valores() = 0;

    // Showing runs FormShow, hiding (close box, Close button, a wrong decoder, hide()) runs
    // FormClose.
    void setVisible(bool visible) override;

    // The configuration file (Fichero_Configuracion.h), which the buttons ask for with a file
    // dialog. Saving writes both columns and never touches the decoder. Loading fills the New
    // column only, and only from a file of this model whose every value fits its field:
    // otherwise nothing changes. Either says what went wrong in a box and returns false.
    bool Guarda_Fichero_Configuracion(const QString& fichero);
    bool Carga_Fichero_Configuracion(const QString& fichero);

protected:
    TF_Decoder(const QString& nombre, const TModelo_Editor& modelo, QWidget* parent);

    // Builds the value grid, with the buttons that work on the New column (fill, clear, and
    // the three every editor has) under it. Called once by the family's constructor, before
    // Aplica_Textos.
    void Construye_Rejilla(const TRejilla& rejilla, QList<QPushButton*> botones_nuevos = {});
    // A glyph button with a hand-point cursor; the tool-tip is looked up by key.
    QPushButton* Crea_Boton(const QString& nombre, const QString& glifo,
                            const QString& clave_ayuda);
    // The common texts: prompt, headings, Close and Save. Families with more texts extend it.
    virtual void Aplica_Textos();

    // The read-out in progress, taken as this model's: frames that reach this editor while
    // another model's read-out was counted start one of its own.
    TLectura_Decoder& Lectura() const;
    // The values of one read-out; Pon_Valor gets each data frame with its place (0 = first).
    virtual int Valores() const = 0;
    virtual void Pon_Valor(int k, const Trama_Dec& FTResul) = 0;
    // The identification byte was the model's: the empty-decoder check runs 200 ms later.
    virtual void T_Estado_TiempoInicialTimer();
    virtual bool Decoder_Vacio() const = 0;

    // Save: hourglass and B_Save disabled for the whole of it, the check, the refusal of what
    // cannot be written as typed, the zero fill, every register written, one result.
    virtual void B_SaveClick();
    // Whether Save shows the hourglass over the screen (B_Save is disabled in any case).
    virtual bool Reloj_Al_Grabar() const { return true; }
    virtual bool Comienza_Grabacion() { return true; }
    // Raises ERechazo for a New value that would not reach the decoder as typed.
    virtual void Comprueba_Nuevos() = 0;
    // Last word before anything is sent; false leaves the window as it is.
    virtual bool Confirma_Grabacion() { return true; }
    virtual void Rellena_TODOS_CEROS_IZ() {}
    // Writes every register, also after a failure; true when each one was acknowledged. Each
    // grid row is written through Graba_Fila.
    virtual bool Graba() = 0;
    // The result dialog; a failure lists the rows that were not acknowledged.
    virtual void Informa_Grabacion(bool todo_aceptado);

    // Closing: routing off, then the model's closing frames.
    virtual void Envia_Cierre();

    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Key filter of the New edits: backspace, tab, line feed, return, blank and the digits.
    virtual bool Edit1KeyPress(QKeyEvent* key);

    // Controls reached by their constructed names.
    QLineEdit* Edit(int n) const;
    // The control of a grid row (0 = first) and column, in the Current or the New block.
    enum class TLado { Actual, Nuevo };
    QWidget* Celda(int fila, int columna, TLado lado) const;
    template <typename T> T* Celda(int fila, int columna, TLado lado) const {
        return qobject_cast<T*>(Celda(fila, columna, lado));
    }
    // The codes a column makes the decoder answer, for the installation record's check of
    // duplicates; none by default.
    virtual QList<TCodigo_Registro> Codigos_Registro(TLado lado) const;
    // Adds the code typed or read as `texto` (nothing when it is empty or not a code).
    static void Anade_Codigo(QList<TCodigo_Registro>& codigos, TEspacio_Codigo espacio,
                             const QString& texto, const TFrase& lugar);
    // Graba writes a grid row (0 = first) with `escribe`, which is true when the decoder
    // acknowledged every write: the progress line names the row meanwhile, and the row's
    // acknowledgement is noted. Returns what `escribe` did.
    bool Graba_Fila(int fila, const std::function<bool()>& escribe);
    // A further write that belongs to a row already written (the sensors' arming): a row is
    // acknowledged only when every write reported for it was.
    void Fila_Aceptada(int fila, bool aceptada);
    // Puts `que` on the progress line of the Save under way ("Arming sensor 3 of 8…").
    void Muestra_Progreso(const QString& que);
    // "Output 2" for a grid of numbered outputs, otherwise the row's label, as the record
    // keeps it.
    TFrase Lugar_Registro(int fila) const;
    // A read-out has filled the Current column: it goes to the installation record, and the
    // change marks compare with it.
    void Anota_Lectura();
    // A read-out has begun: until it has delivered every value, the Current column is not
    // what the decoder holds and every New value is marked.
    void Lectura_Empezada();
    // Refusals of a New field, named by where it is ("Output 2, time", or its row's label):
    // each puts the focus in the field and raises ERechazo.
    // Every character must be a digit, as the text goes into the frame digit by digit.
    void Exige_Digitos(QLineEdit* campo, const QString& lugar) const;
    // At most `mayor`; `clave` words the limit ("the longest time this decoder stores").
    void Exige_Maximo(QLineEdit* campo, const QString& lugar, int mayor,
                      const QString& clave) const;
    [[noreturn]] void Rechaza(QWidget* campo, const QString& mensaje) const;
    // "Output n, code" and "Output n, time", and the label of a grid row as the user reads it.
    static QString Lugar_Codigo(int n);
    static QString Lugar_Tiempo(int n);
    QString Lugar_Fila(int fila) const;
    // Four hexadecimal digits of a data frame's word, high byte (b3) first.
    static QString Palabra(const Trama_Dec& FTResul);

    const TModelo_Editor& Modelo() const { return modelo_; }

    QLabel* Image1;
    QLabel* Label28;
    QLabel* Label10;
    // Under the buttons: the state line.
    QLabel* Estado_Editor;
    // Beside Save: "Read back after Save".
    QCheckBox* CB_ReadBack;
    QPushButton* B_Close;
    QPushButton* B_Save;
    QPushButton* B_Guarda_Config; // configuration to a file
    QPushButton* B_Carga_Config;  // configuration from a file
    QPushButton* B_Actuales;      // the Current values back into the New column
    QTimer* T_Estado_TiempoInicial;

private:
    void FormShow();
    void FormClose();
    // Sends the closing frames, now or, while another request waits, as soon as it is done.
    void Cierra_Decoder();
    void Decoder_Erroneo(uint8_t identificacion);
    // Shows what a frame (or the end of a pause) did to the read-out: the acknowledgement
    // written, the value put in its place, the window emptied at the first one, the missing
    // values said when it was cut short, the identification checked.
    void Sigue_Lectura(const TLectura_Decoder::TPaso& paso, const Trama_Dec& trama);
    QWidget* Crea_Celda(const TCelda& celda, bool nuevo);
    // Every value of the grid as a pair of controls (row, column), keyed by the object name of
    // its Current control; `Ancho` is what the Current cell allows.
    struct TValor_Rejilla {
        int Fila;
        int Columna;
        QString Campo;
        int Ancho;
    };
    QList<TValor_Rejilla> Valores_Rejilla() const;
    // "Output 2, Time", or the row's label for a one-control row: as the record keeps it, and
    // in the user's language.
    TFrase Frase_Valor(const TValor_Rejilla& valor) const;
    QString Lugar_Valor(const TValor_Rejilla& valor) const { return Redacta(Frase_Valor(valor)); }
    void Al_Cambiar(QWidget* control);
    void Actualiza_Marcas();
    void B_ActualesClick();
    void Pide_Fichero(bool guardar);
    // Why the file read cannot fill the New column, in the user's language; empty when it can.
    QString Rechazo(const TLectura_Fichero& lectura) const;
    void Aviso_Fichero(const QString& texto);
    // The installation record: what a column holds, a completed read-out, the duplicates a
    // Save would make (false: the user chose not to write), and the Save as it went.
    TConfiguracion Configuracion(TLado lado) const;
    bool Confirma_Choques();
    void Anota_Grabacion(bool todo_aceptado);
    // The progress line's text for grid row `fila`: "Writing output 3 of 8…".
    QString Texto_Escritura(int fila) const;
    // The rows of the last Save that the decoder did not acknowledge in full, and the line
    // that names them for the failure dialog ("Not acknowledged: outputs 3, 4").
    QList<int> Filas_Sin_Acuse() const;
    QString Texto_Sin_Acuse() const;
    // Marks the New controls of the rows not acknowledged (none: clears the marks).
    void Marca_Sin_Acuse(const QList<int>& filas);
    // The New controls of the grid rows given (every value of each).
    QList<QWidget*> Nuevos_De_Filas(const QList<int>& filas) const;

    // Save with the port not open: said, and nothing attempted. False when it was refused.
    bool Exige_Puerto();
    // The outcome of a Save without read-back, for the state line.
    QString Texto_Grabada(bool todo_aceptado) const;

    // Read back after Save: the device code to ask for (empty: none, no read-back), the
    // request, a second without a read-out (or without its next frame), and the read-out's
    // end (complete or not).
    QString Codigo_Relectura() const;
    void Relee();
    void Sin_Relectura();
    void Concluye_Relectura();
    void Relectura_Cortada();
    // The New column as the Save wrote it, back after the read-out emptied it.
    void Repone_Escritos();
    // Acknowledged grid rows of the last Save.
    QList<int> Filas_Aceptadas() const;

    TModelo_Editor modelo_;
    TRejilla rejilla_;
    QGridLayout* cuerpo_;
    QTimer* fin_lectura_;
    QTimer* cierre_pendiente_;
    bool lectura_completa_ = false; // every value came: recorded once the timer's reads end
    // Of the last Save, one per grid row: whether every write reported for it was
    // acknowledged (none reported: not written).
    QList<std::optional<bool>> filas_aceptadas_;
    TProgreso_Grabacion* progreso_ = nullptr; // while a Save writes
    bool leido_ = false;                      // the Current column holds a whole read-out
    TMarcas_Cambio marcas_;
    QString texto_cambios_; // B_Save's tool-tip, "Values that will change: %1"
    std::unique_ptr<TLinea_Estado> linea_estado_; // on Estado_Editor
    // Read back after Save: the request is out and no read-out has begun; a read-out begun as
    // the read-back (`espera_relectura_` runs until its identification frame); the New values
    // the Save wrote, one per value of the grid (Valores_Rejilla's order).
    bool relectura_pendiente_ = false;
    bool releyendo_ = false;
    QTimer* espera_relectura_;
    QList<QJsonValue> escritos_;
};

// The button disabled, and the hourglass over the whole screen if asked for, while it lives:
// both come back however the work ends, an exception included.
class TEspera {
public:
    TEspera(QPushButton* boton, bool reloj);
    ~TEspera();
    TEspera(const TEspera&) = delete;
    TEspera& operator=(const TEspera&) = delete;

private:
    QPushButton* boton_;
    bool reloj_;
};
