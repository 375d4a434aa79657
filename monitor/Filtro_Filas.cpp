#include "Filtro_Filas.h"

#include "F_Monitor.h"
#include "Filas_Monitor.h"
#include "Significado.h"

TFiltro_Filas::TFiltro_Filas(TFilas_Monitor* filas, QObject* parent)
    : QSortFilterProxyModel(parent), filas_(filas) {
    setSourceModel(filas);
}

void TFiltro_Filas::Pon_Modo(int modo) {
    modo_ = modo;
    invalidateRowsFilter();
}

bool TFiltro_Filas::filterAcceptsRow(int row, const QModelIndex&) const {
    const TFila_Linea* f = filas_->Fila(row);
    if (!f)
        return true;
    switch (modo_) {
    case TF_Monitor::Peticiones:
        return De_Peticion(*f);
    case TF_Monitor::Decoder:
        return Del_Decoder(*f);
    case TF_Monitor::Problemas:
        return Es_Problema(*f);
    default:
        return true;
    }
}
