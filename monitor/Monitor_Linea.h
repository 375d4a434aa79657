#pragma once
// Listens to the decoder link for the whole run and turns what it reports into rows for the
// monitor's view and for the line log. The link's call only stamps the row with the time and
// the routing state and puts it aside; the rows reach the view and the log together a few
// tens of milliseconds later, so the link's timing does not depend on the monitor.

#include "Filas_Monitor.h"
#include "Observador_Linea.h"
#include "Registro_Linea.h"
#include "Textos_Monitor.h"

#include <QObject>
#include <QTimer>

#include <deque>
#include <vector>

class TDECODER2;

class TMonitor_Linea : public QObject, public TObservador_Linea {
    Q_OBJECT
public:
    // Starts listening to enlace, which must outlive the monitor.
    TMonitor_Linea(TDECODER2* enlace, const TTextos_Monitor& textos, int capacidad,
                   const QString& carpeta_registro, QObject* parent = nullptr);
    ~TMonitor_Linea() override;

    void Suceso(const TSuceso_Linea& suceso) noexcept override;

    TFilas_Monitor& Filas() { return filas_; }
    TRegistro_Linea& Registro() { return registro_; }
    const TRegistro_Linea& Registro() const { return registro_; }

    // Paused, the view keeps what it shows; the rows that come meanwhile wait (the newest
    // Capacidad of them) and are added when it goes on. The log takes them as they come.
    void Pausa(bool pausado);
    bool Pausado() const { return pausado_; }
    // Hands the rows that wait to the view and the log now.
    void Vuelca();

private:
    // The timer's flush: put off while a request waits for its reply (painting the view then
    // would delay the reply's handling), unless rows have waited too long.
    void Vuelca_Si_Libre();

    TDECODER2* enlace_;
    const TTextos_Monitor& textos_;
    TFilas_Monitor filas_;
    TRegistro_Linea registro_;
    std::vector<TFila_Linea> nuevas_;
    std::deque<TFila_Linea> retenidas_;
    bool pausado_ = false;
    // The last row the log took, for its milliseconds column.
    TFila_Linea anterior_registro_;
    bool hay_anterior_registro_ = false;
    QTimer vuelco_;
};
