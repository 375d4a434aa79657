#pragma once
// The monitor's filter: everything, the program's requests and their replies, the decoder's
// frames, or the problems only. The row that tells of removed rows always passes.

#include <QSortFilterProxyModel>

class TFilas_Monitor;

class TFiltro_Filas : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit TFiltro_Filas(TFilas_Monitor* filas, QObject* parent = nullptr);
    void Pon_Modo(int modo);
    int Modo() const { return modo_; }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    TFilas_Monitor* filas_;
    int modo_ = 0;
};
