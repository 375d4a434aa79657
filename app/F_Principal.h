#pragma once
// The main window: the installer picks a decoder model here and Go! opens its editor. It shows
// the program's link (the port and its state) and installation; both are the program's
// (Programa.h), which also routes the frames decoders send on their own.

#include "Trama_Dec.h"

#include <QMainWindow>

#include <cstdint>
#include <vector>

struct PortHolder;
struct TModelo;

class QAction;
class QKeyEvent;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class TF_Ayuda;
class TInstalacion_Abierta;
class TMenu_Instalacion;
class TMenu_Monitor;
class TOferta_Editor;
class TDECODER2;

class TF_Princ : public QMainWindow {
    Q_OBJECT
public:
    // abre_puerto false: the line stays closed (the installation check needs no port).
    TF_Princ(TDECODER2* enlace, TInstalacion_Abierta* instalacion, bool abre_puerto,
             QWidget* parent = nullptr);
    ~TF_Princ() override;

    TDECODER2* Decod1;
    // The installation being recorded, and its menu and status label.
    TInstalacion_Abierta* Instalacion;
    TMenu_Instalacion* Menu_Instalacion;
    TMenu_Monitor* Menu_Monitor;

    void Inicializa_menu_puertos();

    // A decoder sent its configuration while no editor was open to take it (the program
    // decides, Programa.h): a strip above the model list says which model sent it, with a
    // button that opens each offered model's editor, and asks for the programming button to
    // be pressed again. No models: its identification byte is no model's, said neutrally.
    // A new offer replaces the one shown.
    void Ofrece_Editores(uint8_t identificacion, const std::vector<const TModelo*>& modelos);
    // The same for a decoder whose values came before its identification: no model named.
    void Avisa_Sin_Editor();
    // The strip goes (an editor was opened, or the user dismissed it).
    void Quita_Oferta();

    // The help page for a language: the Spanish, English, French or German page, the English
    // one for any other language.
    static QString Fichero_Ayuda(const QString& idioma);

    // The process started by the last restart (0 when none was started): tests end it.
    static qint64 Pid_Reinicio();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Crea_Controles();
    // What the offer's button does: the model's editor opened as Go! opens it.
    void Abre_Ofrecido(const TModelo& modelo);
    void Crea_Menus();
    void Aplica_Textos();
    void Rellena_Lista_Modelos();
    void Abre_Puerto();
    // The status line follows the port: opened, not opened and why, gone, open again. Its
    // whole text is its tool-tip, for a window too narrow to show it.
    void Actualiza_Estado();
    // While another program holds or shares the device, every few seconds: once it has let
    // go, the status line says so (a port it held is opened as at the start).
    void Revisa_Otros_Programas();
    // Lists the serial devices present below COM1–COM4, each time the menu opens.
    void Rellena_Puertos_Presentes();
    void Elige_Puerto(const QString& puerto);
    void Otro_Puerto();
    // Starts the program again once it has ended, so a new port or language takes effect.
    void Reinicia();

    void FormShow();
    void FormClose();
    // The settings written as the program ends; said only when that loses a choice.
    void Guarda_Al_Salir();
    void B_GoClick();
    void COM1Click(QAction* item);
    void Language1Click();
    void Help1Click();
    void est1Click();
    void Reprogramming2Click();
    void Survey1Click();
    void About2Click();
    bool C1KeyPress(QKeyEvent* key);
    void Label4Click();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QComboBox* C1;
    QPushButton* B_Go;
    QPushButton* B_Close;
    QLabel* Image1;
    QLabel* Image2;
    // The offer of an editor for a decoder that spoke while none was open.
    TOferta_Editor* Oferta;

    QMenu* File1;
    QAction* Language1;
    QMenu* SerialPort1;
    QAction* Close1;
    QMenu* Reprogramming1;
    QAction* est1;
    QAction* Reprogramming2;
    QAction* Survey1;
    QMenu* About1;
    QAction* Help1;
    QAction* About2;
    QLabel* Estado_Puerto;
    QLabel* Instalacion_Actual;
    // What Rellena_Puertos_Presentes added to the menu, replaced at each opening.
    QList<QAction*> puertos_presentes_;
    QString causa_fallo_;
    std::vector<PortHolder> compartido_con_;
    // The port would not open because another program held it.
    bool retenido_ = false;
    QTimer* vigila_otros_;
    bool reiniciar_ = false;

    // Ends every open editor, each with its closing frames.
    void Cierra_Editores();

    QTimer* cierre_pendiente_;
    // Made at the first Help, kept for the run.
    TF_Ayuda* ayuda_ = nullptr;
    bool cerrado_ = false;
};
