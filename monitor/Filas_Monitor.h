#pragma once
// The monitor's rows for a table view: at most Capacidad of them, the oldest going first; once
// any have gone, a first row says how many. Each cell's text is made when the view asks for
// it, from the row's few bytes.

#include "Fila_Linea.h"
#include "Formato_Fila.h"
#include "Textos_Monitor.h"

#include <QAbstractTableModel>

#include <deque>
#include <vector>

class TFilas_Monitor : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int Capacidad_Normal = 100000;

    TFilas_Monitor(const TTextos_Monitor& textos, int capacidad, QObject* parent = nullptr);

    // New rows at the end, in one insertion; the oldest go past the capacity.
    void Anade(const std::vector<TFila_Linea>& filas);
    // Rows that went before they reached the model (kept aside while paused).
    void Cuenta_Descartadas(qint64 cuantas);
    void Vacia();

    // The row at a model row; null for the row that tells of the removed ones.
    const TFila_Linea* Fila(int row) const;
    // The cells of a model row, the milliseconds counted from the row before it.
    QStringList Textos(int row) const;
    const TTextos_Monitor& Textos_Monitor() const { return textos_; }
    qint64 Descartadas() const { return descartadas_; }
    int Capacidad() const { return capacidad_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    int Aviso() const { return descartadas_ > 0 ? 1 : 0; }
    void Recorta();
    QString Texto_Aviso() const;

    const TTextos_Monitor& textos_;
    const int capacidad_;
    std::deque<TFila_Linea> filas_;
    qint64 descartadas_ = 0;
};
