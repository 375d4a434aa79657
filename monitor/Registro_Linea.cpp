#include "Registro_Linea.h"

#include "Carpetas.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

constexpr int Vuelco_ms = 1000;
const QString kPrefijo = QStringLiteral("line-");
const QString kExtension = QStringLiteral(".log");

} // namespace

TRegistro_Linea::TRegistro_Linea(const QString& carpeta, QObject* parent)
    : QObject(parent), carpeta_(carpeta) {
    vuelco_.setSingleShot(true);
    vuelco_.setInterval(Vuelco_ms);
    connect(&vuelco_, &QTimer::timeout, this, [this] { Vuelca(); });
    Limpia(carpeta_, QDate::currentDate());
}

TRegistro_Linea::~TRegistro_Linea() {
    Vuelca();
}

QString TRegistro_Linea::Carpeta_Normal() {
    return Carpeta_Datos_Usuario() + QStringLiteral("/log");
}

QString TRegistro_Linea::Nombre_Fichero(const QDate& dia) {
    return kPrefijo + dia.toString(Qt::ISODate) + kExtension;
}

int TRegistro_Linea::Limpia(const QString& carpeta, const QDate& hoy) {
    static const QRegularExpression kNombre(QStringLiteral("^line-(\\d{4}-\\d{2}-\\d{2})\\.log$"));
    const QDate limite = hoy.addDays(-Dias_Guardados);
    QDir dir(carpeta);
    int quitados = 0;
    for (const QString& nombre :
         dir.entryList({kPrefijo + QLatin1Char('*') + kExtension}, QDir::Files)) {
        const auto m = kNombre.match(nombre);
        if (!m.hasMatch())
            continue;
        const QDate dia = QDate::fromString(m.captured(1), Qt::ISODate);
        if (dia.isValid() && dia < limite && dir.remove(nombre))
            ++quitados;
    }
    return quitados;
}

void TRegistro_Linea::Activa(bool activo) {
    if (!activo)
        Vuelca();
    activo_ = activo;
}

void TRegistro_Linea::Anade(qint64 hora_ms, const QString& linea) {
    if (!activo_)
        return;
    espera_.push_back({QDateTime::fromMSecsSinceEpoch(hora_ms).date(), linea});
    if (!vuelco_.isActive())
        vuelco_.start();
}

bool TRegistro_Linea::Vuelca() {
    vuelco_.stop();
    if (espera_.empty())
        return true;
    std::vector<TLinea> lineas;
    lineas.swap(espera_);
    // One write per day's file: the lines of one pass rarely span midnight.
    QString texto;
    QDate dia = lineas.front().Dia;
    for (const TLinea& l : lineas) {
        if (l.Dia != dia) {
            if (!Escribe(dia, texto))
                return false;
            texto.clear();
            dia = l.Dia;
        }
        texto += l.Texto + QLatin1Char('\n');
    }
    return Escribe(dia, texto);
}

bool TRegistro_Linea::Escribe(const QDate& dia, const QString& texto) {
    const QString ruta = carpeta_ + QLatin1Char('/') + Nombre_Fichero(dia);
    QFile fichero(ruta);
    const bool nuevo = !fichero.exists();
    QByteArray bytes;
    if (nuevo && !cabecera_.isEmpty())
        bytes = (cabecera_ + QLatin1Char('\n')).toUtf8();
    bytes += texto.toUtf8();
    if (QDir().mkpath(carpeta_) && fichero.open(QIODevice::Append | QIODevice::Text) &&
        fichero.write(bytes) == bytes.size() && fichero.flush())
        return true;
    // A log that cannot be written is turned off and said so once, not retried per line.
    activo_ = false;
    espera_.clear();
    if (OnFallo)
        OnFallo(ruta);
    return false;
}
