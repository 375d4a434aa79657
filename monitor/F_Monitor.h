#pragma once
// The line monitor window: every frame on the line, with its time and its meaning. Modeless and
// resizable, not on top of the editors; it keeps its place for the run. The rows are gathered
// from the start of the run, whether the window is shown or not.

#include "Monitor_Linea.h"
#include "Textos_Monitor.h"
#include "UVentana_Kalvex.h"

#include <QRect>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class TDECODER2;
class TFiltro_Filas;

class TF_Monitor : public TVentana_Kalvex {
    Q_OBJECT
public:
    enum TFiltro { Todo, Peticiones, Decoder, Problemas };

    explicit TF_Monitor(TDECODER2* enlace, int capacidad = TFilas_Monitor::Capacidad_Normal,
                        const QString& carpeta_registro = TRegistro_Linea::Carpeta_Normal());

    TMonitor_Linea& Monitor() { return monitor_; }
    const TMonitor_Linea& Monitor() const { return monitor_; }

    // File ▸ Line log: on or off, kept in the settings. False, with the reason in causa, when
    // the settings could not keep it: the log is on or off all the same, for this run.
    bool Registro_Linea(bool activo, QString& causa);
    bool Registro_Linea() const;

    // The rows the filter shows, as text (tab-separated) or CSV, with a line of titles.
    bool Guarda(const QString& fichero, bool csv);
    // Selects the next row after the selected one whose text contains texto.
    bool Busca(const QString& texto);
    // The selected rows, tab-separated, to the clipboard.
    void Copia();

    void setVisible(bool visible) override;
    QSize sizeHint() const override;

    QComboBox* Filtro;
    QPushButton* B_Pausa;
    QPushButton* B_Borrar;
    QLineEdit* E_Buscar;
    QPushButton* B_Buscar;
    QPushButton* B_Copiar;
    QPushButton* B_Guardar;
    QTableView* Vista;

protected:
    void Coloca() override;

private:
    void Pide_Fichero();
    void Registro_Fallido(const QString& fichero);

    TTextos_Monitor textos_;
    TMonitor_Linea monitor_;
    TFiltro_Filas* filtro_;
    QRect lugar_;
    bool al_final_ = true;
};
