#include "Filas_Monitor.h"

#include "Significado.h"

#include <QBrush>
#include <QFont>

#include <algorithm>

TFilas_Monitor::TFilas_Monitor(const TTextos_Monitor& textos, int capacidad, QObject* parent)
    : QAbstractTableModel(parent), textos_(textos), capacidad_(std::max(capacidad, 1)) {}

void TFilas_Monitor::Anade(const std::vector<TFila_Linea>& filas) {
    if (filas.empty())
        return;
    // Only the rows that will stay are inserted: a burst larger than the capacity is not shown
    // and removed again.
    const std::size_t desde =
        filas.size() > std::size_t(capacidad_) ? filas.size() - capacidad_ : 0;
    Cuenta_Descartadas(static_cast<qint64>(desde));
    const int primera = rowCount();
    beginInsertRows({}, primera, primera + static_cast<int>(filas.size() - desde) - 1);
    filas_.insert(filas_.end(), filas.begin() + static_cast<std::ptrdiff_t>(desde), filas.end());
    endInsertRows();
    Recorta();
}

void TFilas_Monitor::Recorta() {
    const int sobran = static_cast<int>(filas_.size()) - capacidad_;
    if (sobran <= 0)
        return;
    const bool habia_aviso = Aviso() == 1;
    beginRemoveRows({}, Aviso(), Aviso() + sobran - 1);
    filas_.erase(filas_.begin(), filas_.begin() + sobran);
    endRemoveRows();
    descartadas_ += sobran;
    if (habia_aviso) {
        emit dataChanged(index(0, 0), index(0, columnCount() - 1));
    } else {
        beginInsertRows({}, 0, 0);
        endInsertRows();
    }
}

void TFilas_Monitor::Cuenta_Descartadas(qint64 cuantas) {
    if (cuantas <= 0)
        return;
    if (Aviso() == 1) {
        descartadas_ += cuantas;
        emit dataChanged(index(0, 0), index(0, columnCount() - 1));
        return;
    }
    beginInsertRows({}, 0, 0);
    descartadas_ += cuantas;
    endInsertRows();
}

void TFilas_Monitor::Vacia() {
    beginResetModel();
    filas_.clear();
    descartadas_ = 0;
    endResetModel();
}

const TFila_Linea* TFilas_Monitor::Fila(int row) const {
    const int i = row - Aviso();
    if (i < 0 || i >= static_cast<int>(filas_.size()))
        return nullptr;
    return &filas_[static_cast<std::size_t>(i)];
}

QStringList TFilas_Monitor::Textos(int row) const {
    const TFila_Linea* f = Fila(row);
    if (!f) {
        QStringList aviso(static_cast<int>(TColumna::Cuantas));
        aviso.last() = textos_[TTexto_Monitor::Trimmed].arg(descartadas_).arg(capacidad_);
        return aviso;
    }
    return Textos_Fila(*f, Fila(row - 1), textos_);
}

QString TFilas_Monitor::Texto_Aviso() const {
    return textos_[TTexto_Monitor::Trimmed].arg(descartadas_).arg(capacidad_);
}

int TFilas_Monitor::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(filas_.size()) + Aviso();
}

int TFilas_Monitor::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(TColumna::Cuantas);
}

QVariant TFilas_Monitor::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const TFila_Linea* f = Fila(index.row());
    const auto columna = static_cast<TColumna>(index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (!f)
            return columna == TColumna::Significado ? Texto_Aviso() : QString();
        return Texto_Columna(columna, *f, Fila(index.row() - 1), textos_);
    case Qt::ToolTipRole:
        // A meaning wider than its column is cut: whole here.
        if (columna == TColumna::Significado)
            return f ? Significado(*f, textos_) : Texto_Aviso();
        return {};
    case Qt::ForegroundRole:
        if (f && Es_Problema(*f))
            return QBrush(Qt::darkRed);
        return {};
    case Qt::FontRole:
        if (!f || columna == TColumna::Bytes) {
            QFont letra;
            letra.setItalic(!f);
            if (f)
                letra.setFamily(QStringLiteral("monospace"));
            return letra;
        }
        return {};
    default:
        return {};
    }
}

QVariant TFilas_Monitor::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return Titulo_Columna(static_cast<TColumna>(section), textos_);
}
