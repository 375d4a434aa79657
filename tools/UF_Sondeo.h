#pragma once
// The survey's window: the device types and ranges to search (the ranges the record knows,
// widened to whole hundreds, come filled in), the pace, Start, Stop and Resume, a progress bar
// and line while it runs, and a summary at the end with the way to the installation window
// and a CSV file of every code. The survey itself is TSondeo.

#include "Sondeo.h"
#include "Tiempo_Restante.h"
#include "UVentana_Kalvex.h"

#include <QElapsedTimer>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

class TF_Sondeo : public TVentana_Kalvex {
    Q_OBJECT
public:
    explicit TF_Sondeo(QWidget* parent = nullptr);

    void setVisible(bool visible) override;
    // Every way of closing ends here: a survey under way is stopped (after the code it is
    // reading) and the window hides once it has ended.
    void reject() override;
    // As Stop does.
    void B_StopClick();
    // A survey is under way (paused for the port included).
    bool En_Curso() const { return sondeo_.Activo(); }
    // Every code of the survey as a CSV file; when it cannot, says why in a box and returns
    // false.
    bool Exporta(const QString& fichero);

    // "Show in the installation window": the program shows it (this window cannot).
    std::function<void()> Muestra_Instalacion;

private:
    struct TFila_Tipo {
        TTipo_Codigo Tipo;
        QCheckBox* Elegido;
        QLineEdit* Desde;
        QLineEdit* Hasta;
    };

    void FormShow();
    void Pon_Rangos_Conocidos();
    void B_StartClick();
    void B_ResumeClick();
    void B_AgainClick();
    void B_ExportClick();
    // Runs the survey (Start, Resume, Again) with the window in its running state.
    void Ejecuta(const std::function<void()>& que);
    void Al_Volver_Puerto();
    void Muestra_Progreso();
    void Termina();
    QString Resumen() const;
    bool Ocupado();

    QLabel* Label1;
    std::array<TFila_Tipo, 4> tipos_;
    QRadioButton* R_Rapido;
    QRadioButton* R_Minucioso;
    QPushButton* B_Start;
    QPushButton* B_Stop;
    QPushButton* B_Resume;
    QPushButton* B_Again;
    QPushButton* B_Show;
    QPushButton* B_Export;
    QPushButton* B_Close;
    QProgressBar* ProgressBar1;
    QLabel* Label_Progreso;

    TSondeo sondeo_;
    TTiempo_Restante queda_;
    QElapsedTimer reloj_;
    int base_ = -1; // codes done before this run, for its pace
    bool cerrar_al_terminar_ = false;
};

// True while a survey runs, having told the user over `ventana` that it has the line to
// itself: what would send frames or open an editor then waits for it.
bool Avisa_Sondeo_En_Curso(QWidget* ventana);
