#include "Estado_Puerto.h"

#include "Idiomas.h"
#include "PortDiagnosis.h"
#include "PortDiscovery.h"
#include "SerialDevice.h"
#include "USerialLine.h"

#include <QStringList>

#include <cerrno>
#include <cstring>

namespace {

const QString Raya = QStringLiteral(" \u2014 ");

QByteArray Ruta(const QString& puerto) {
    return SerialDevice::DevicePath(puerto);
}

bool Ocupado(int err) {
    // EBUSY: another program set the exclusive mode; EWOULDBLOCK: it holds the lock.
    return err == EBUSY || err == EWOULDBLOCK;
}

QString Programa(const PortHolder& h) {
    return Texto(QStringLiteral("Port_Held"))
        .arg(h.name.isEmpty() ? QStringLiteral("?") : h.name)
        .arg(h.pid);
}

QString Lista_Programas(const std::vector<PortHolder>& otros) {
    QStringList nombres;
    for (const PortHolder& h : otros)
        nombres << QStringLiteral("%1 (%2)").arg(h.name).arg(h.pid);
    return nombres.join(QStringLiteral(", "));
}

QString Texto_Sistema(int err) {
    // The GNU strerror_r: the text may be a static one rather than the buffer.
    char buffer[256] = {};
    return QString::fromLocal8Bit(::strerror_r(err, buffer, sizeof buffer));
}

// The devices to choose from instead of a port that is not there.
QString Presentes() {
    QStringList presentes;
    for (const PresentPort& p : PresentPorts())
        presentes << p.label;
    return presentes.isEmpty()
               ? Texto(QStringLiteral("Port_NonePresent"))
               : Texto(QStringLiteral("Port_Present")).arg(presentes.join(QStringLiteral(", ")));
}

// The cause, then its fix, as lines.
QStringList Causa_Y_Remedio(const ESerialLine& error, const QString& puerto) {
    const int err = error.Errno();
    const QByteArray ruta = Ruta(puerto);
    if (err == ENOENT || err == ENODEV || err == ENXIO)
        return {Texto(QStringLiteral("Port_NotFound")), Presentes()};
    if (err == EACCES || err == EPERM) {
        QString grupo = DeviceGroup(ruta);
        if (grupo.isEmpty())
            grupo = QStringLiteral("dialout");
        return {Texto(QStringLiteral("Port_Permission")).arg(grupo),
                Texto(QStringLiteral("Port_PermissionFix")).arg(grupo, UserName())};
    }
    if (Ocupado(err)) {
        const std::vector<PortHolder> otros = PortHolders(ruta);
        QStringList lineas;
        if (otros.empty())
            lineas << Texto(QStringLiteral("Port_HeldUnknown"));
        for (const PortHolder& h : otros)
            lineas << Programa(h);
        lineas << Texto(QStringLiteral("Port_HeldFix"));
        return lineas;
    }
    if (err > 0)
        return {Texto_Sistema(err)};
    return {};
}

} // namespace

bool Nombre_Puerto_Excesivo(const QString& puerto) {
    return puerto.size() > Mayor_Nombre_Puerto;
}

QString Explica_Nombre_Excesivo(const QString& puerto) {
    return QStringList{Texto(QStringLiteral("Port_Device")).arg(Rotulo_Puerto(puerto)),
                       Causa_Nombre_Excesivo(puerto), Presentes()}
        .join(QLatin1Char('\n'));
}

QString Causa_Nombre_Excesivo(const QString& puerto) {
    return Texto(QStringLiteral("Port_TooLong")).arg(puerto.size());
}

QString Explica_Fallo_Apertura(const ESerialLine& error, const QString& puerto) {
    QStringList lineas{QString::fromUtf8(error.what())};
    const QByteArray ruta = Ruta(puerto);
    lineas << Texto(QStringLiteral("Port_Device"))
                  .arg(ruta.isEmpty() ? puerto : QString::fromLocal8Bit(ruta));
    lineas << Causa_Y_Remedio(error, puerto);
    return lineas.join(QLatin1Char('\n'));
}

QString Causa_Fallo_Apertura(const ESerialLine& error, const QString& puerto) {
    const QStringList lineas = Causa_Y_Remedio(error, puerto);
    return lineas.isEmpty() ? QString::fromUtf8(error.what()) : lineas.first();
}

QString Rotulo_Puerto(const QString& puerto) {
    // Enough to recognise what was stored.
    constexpr qsizetype Principio = 40;
    if (Nombre_Puerto_Excesivo(puerto))
        return puerto.left(Principio) + QChar(0x2026);
    const QString ruta = QString::fromLocal8Bit(Ruta(puerto));
    if (!puerto.startsWith(QLatin1Char('/')))
        return ruta.isEmpty() ? puerto : puerto + Raya + ruta;
    const std::vector<PresentPort> presentes = PresentPorts();
    if (const PresentPort* p = FindPresentPort(presentes, puerto))
        return p->label;
    return puerto;
}

QString Aviso_Compartido(const std::vector<PortHolder>& otros) {
    QStringList lineas;
    for (const PortHolder& h : otros)
        lineas << Texto(QStringLiteral("Port_Shared")).arg(h.name).arg(h.pid);
    return lineas.join(QLatin1Char('\n'));
}

QString Linea_Estado(const TCustomSerialLine& linea, const QString& puerto, const QString& causa,
                     const std::vector<PortHolder>& otros) {
    QString estado;
    switch (linea.Connected() ? linea.LineState() : TLineState::Closed) {
    case TLineState::Closed:
        estado = Texto(QStringLiteral("Port_St_NotOpen")).arg(causa);
        break;
    case TLineState::Open:
        estado = Texto(QStringLiteral("Port_St_Open")).arg(linea.SettingsText());
        break;
    case TLineState::Gone:
        estado = Texto(QStringLiteral("Port_St_Gone"));
        break;
    case TLineState::Reopened:
        estado = Texto(QStringLiteral("Port_St_Again")).arg(linea.SettingsText());
        break;
    }
    QString texto = Rotulo_Puerto(puerto) + QStringLiteral(": ") + estado;
    const bool abierto = linea.Connected() && linea.LineState() != TLineState::Gone;
    if (abierto && linea.Usb())
        texto +=
            QStringLiteral(", ") + Texto(linea.LowLatency() ? QStringLiteral("Port_St_LowOn")
                                                            : QStringLiteral("Port_St_LowOff"));
    if (abierto && !otros.empty())
        texto += QStringLiteral(", ") +
                 Texto(QStringLiteral("Port_St_Shared")).arg(Lista_Programas(otros));
    return texto;
}
