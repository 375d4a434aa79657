#include "Estado_Puerto.h"

#include "Idiomas.h"
#include "PortDiagnosis.h"
#include "PortDiscovery.h"
#include "SerialDevice.h"
#include "USerialLine.h"

#include <QStringList>

namespace {

QByteArray Ruta(const QString& puerto) {
    return SerialDevice::DevicePath(puerto);
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
    const QByteArray ruta = Ruta(puerto);
    switch (error.Cause()) {
    case TPortCause::NotPresent:
    case TPortCause::DeviceGone:
        return {Texto(QStringLiteral("Port_NotFound")), Presentes()};
    case TPortCause::NoPermission: {
        QString grupo = DeviceGroup(ruta);
        if (grupo.isEmpty())
            grupo = QStringLiteral("dialout");
        // Joining root or tty would give the user the machine (tty: every terminal's input):
        // only a rule that hands this device to dialout is safe.
        const bool reservado = grupo == QLatin1String("root") || grupo == QLatin1String("tty");
        return {Texto(QStringLiteral("Port_Permission")).arg(grupo),
                reservado ? Texto(QStringLiteral("Port_PermissionAdmin"))
                          : Texto(QStringLiteral("Port_PermissionFix")).arg(grupo, UserName())};
    }
    case TPortCause::HeldElsewhere: {
        const std::vector<PortHolder> otros = PortHolders(ruta);
        QStringList lineas;
        if (otros.empty())
            lineas << Texto(QStringLiteral("Port_HeldUnknown"));
        for (const PortHolder& h : otros)
            lineas << Programa(h);
        lineas << Texto(QStringLiteral("Port_HeldFix"));
        return lineas;
    }
    case TPortCause::Other:
        break;
    }
    if (error.Errno() > 0)
        return {SystemErrorText(error.Errno())};
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
    return PortLabel(puerto);
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
