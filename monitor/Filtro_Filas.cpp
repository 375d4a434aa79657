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

const TFila_Linea* TFiltro_Filas::Fila_Mostrada(int fila) const {
    if (fila < 0 || fila >= rowCount())
        return nullptr;
    return filas_->Fila(mapToSource(index(fila, 0)).row());
}

QStringList TFiltro_Filas::Textos(int fila) const {
    const int origen = mapToSource(index(fila, 0)).row();
    const TFila_Linea* f = filas_->Fila(origen);
    if (!f)
        return filas_->Textos(origen);
    return Textos_Fila(*f, Fila_Mostrada(fila - 1), filas_->Textos_Monitor());
}

QVariant TFiltro_Filas::data(const QModelIndex& i, int role) const {
    if (role == Qt::DisplayRole && i.column() == static_cast<int>(TColumna::Intervalo)) {
        const TFila_Linea* f = Fila_Mostrada(i.row());
        if (!f)
            return QString();
        return Texto_Columna(TColumna::Intervalo, *f, Fila_Mostrada(i.row() - 1),
                             filas_->Textos_Monitor());
    }
    return QSortFilterProxyModel::data(i, role);
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
