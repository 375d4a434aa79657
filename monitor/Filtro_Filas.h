#pragma once
// The monitor's filter: everything, the program's requests and their replies, the decoder's
// frames, or the problems only. The row that tells of removed rows always passes. The
// milliseconds column counts from the row shown before, not from a row the filter hides.

#include <QSortFilterProxyModel>

class TFilas_Monitor;
struct TFila_Linea;

class TFiltro_Filas : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit TFiltro_Filas(TFilas_Monitor* filas, QObject* parent = nullptr);
    void Pon_Modo(int modo);
    int Modo() const { return modo_; }
    // The cells of a row of this model, as shown.
    QStringList Textos(int fila) const;
    QVariant data(const QModelIndex& index, int role) const override;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    // The row shown at fila; null for none and for the row that tells of removed rows.
    const TFila_Linea* Fila_Mostrada(int fila) const;

    TFilas_Monitor* filas_;
    int modo_ = 0;
};
