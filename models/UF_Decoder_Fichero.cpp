// The editor's configuration file and its button that puts the Current values back: the part
// of TF_Decoder that reads and writes the New column as a whole.

#include "UF_Decoder.h"

#include "Carpetas.h"
#include "Configuracion.h"
#include "Dialogo_Fichero.h"
#include "Fichero_Configuracion.h"
#include "Guarda_Fichero.h"
#include "Idiomas.h"
#include "Registro.h"
#include "Valor_Control.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace {

const QString Extension = QStringLiteral("json");

// A value as the refusal quotes it.
QString Cita(const QJsonValue& valor) {
    if (valor.isBool())
        return valor.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (valor.isDouble())
        return QString::number(valor.toDouble());
    return valor.toString();
}

} // namespace

bool TF_Decoder::Guarda_Fichero_Configuracion(const QString& fichero) {
    TFichero_Configuracion f;
    f.Referencia = Referencia();
    const QDateTime ahora = QDateTime::currentDateTime();
    // With its offset from UTC, so that the date reads the same anywhere.
    f.Fecha = ahora.toOffsetFromUtc(ahora.offsetFromUtc());
    f.Instalacion = Registro().Nombre_Instalacion();
    f.Programa = VERSION_APP;
    // The current values are what the decoder is known to hold: the read-out with the writes
    // it acknowledged since.
    f.Leida = marcas_.Todo_Conocido(leido_);
    for (const TValor_Rejilla& v : Valores_Rejilla()) {
        const QString lugar = Lugar_Valor(v);
        for (TLado lado : {TLado::Nuevo, TLado::Actual}) {
            const QWidget* control = Celda(v.Fila, v.Columna, lado);
            QJsonValue valor = Valor_Control(control);
            if (lado == TLado::Actual)
                valor = marcas_.Conocido(Celda(v.Fila, v.Columna, TLado::Nuevo), leido_)
                            .value_or(valor);
            // A list item is kept by its number; its text is there for the reader.
            const QString mostrado =
                valor.isDouble() ? Texto_Valor(control, valor, {}, {}) : QString();
            (lado == TLado::Nuevo ? f.Nuevos : f.Actuales)
                .append({v.Campo, lugar, valor, mostrado});
        }
    }
    QString causa;
    if (Guarda_Fichero(fichero, Escribe_Configuracion(f), causa))
        return true;
    Aviso_Fichero(Texto(QStringLiteral("Cfg_ErrWrite")).arg(fichero, causa));
    return false;
}

bool TF_Decoder::Carga_Fichero_Configuracion(const QString& fichero) {
    QFile entrada(fichero);
    QByteArray bytes;
    // One byte more than the largest file: enough to know it is too large.
    if (entrada.open(QIODevice::ReadOnly))
        bytes = entrada.read(Mayor_Fichero_Configuracion + 1);
    if (!entrada.isOpen() || entrada.error() != QFileDevice::NoError) {
        Aviso_Fichero(Texto(QStringLiteral("Cfg_ErrRead")).arg(fichero, entrada.errorString()));
        return false;
    }
    const TLectura_Fichero lectura = Lee_Configuracion(bytes);
    const QString rechazo = Rechazo(lectura);
    if (!rechazo.isEmpty()) {
        Aviso_Fichero(Texto(QStringLiteral("Cfg_Refused")).arg(fichero, rechazo));
        return false;
    }
    QHash<QString, QJsonValue> valores;
    for (const TValor_Fichero& v : lectura.Fichero.Nuevos)
        valores.insert(v.Campo, v.Valor);
    for (const TValor_Rejilla& v : Valores_Rejilla())
        Pon_Valor_Control(Celda(v.Fila, v.Columna, TLado::Nuevo), valores.value(v.Campo));
    return true;
}

QString TF_Decoder::Rechazo(const TLectura_Fichero& lectura) const {
    switch (lectura.Fallo) {
    case TFallo_Fichero::Ninguno:
        break;
    case TFallo_Fichero::Demasiado_Grande:
        return Texto(QStringLiteral("Cfg_TooBig"));
    case TFallo_Fichero::Truncado:
        return Texto(QStringLiteral("Cfg_Truncated"));
    case TFallo_Fichero::Sintaxis:
        return Texto(QStringLiteral("Cfg_Syntax")).arg(lectura.Posicion);
    case TFallo_Fichero::Anidado:
        return Texto(QStringLiteral("Cfg_Nested")).arg(lectura.Posicion);
    case TFallo_Fichero::Ajeno:
        return Texto(QStringLiteral("Cfg_Foreign"));
    case TFallo_Fichero::Mas_Reciente:
        return Texto(QStringLiteral("Cfg_Newer"));
    case TFallo_Fichero::Estructura:
        return Texto(QStringLiteral("Cfg_Structure")).arg(lectura.Miembro);
    }
    const TFichero_Configuracion& f = lectura.Fichero;
    // Models that share an identification byte differ in layout all the same.
    if (f.Referencia != Referencia())
        return Texto(QStringLiteral("Cfg_OtherModel")).arg(f.Referencia).arg(Referencia());

    const QList<TValor_Rejilla> rejilla = Valores_Rejilla();
    QHash<QString, QJsonValue> valores;
    for (const TValor_Fichero& v : f.Nuevos) {
        if (valores.contains(v.Campo))
            return Texto(QStringLiteral("Cfg_Structure")).arg(v.Campo);
        valores.insert(v.Campo, v.Valor);
        const bool propio =
            std::any_of(rejilla.begin(), rejilla.end(),
                        [&](const TValor_Rejilla& r) { return r.Campo == v.Campo; });
        if (!propio)
            return Texto(QStringLiteral("Cfg_Unknown")).arg(v.Campo);
    }
    for (const TValor_Rejilla& v : rejilla) {
        if (!valores.contains(v.Campo))
            return Texto(QStringLiteral("Cfg_Missing")).arg(Lugar_Valor(v));
        const QJsonValue valor = valores.value(v.Campo);
        if (!Cabe_En_Control(Celda(v.Fila, v.Columna, TLado::Nuevo), valor, v.Ancho))
            return Texto(QStringLiteral("Cfg_NoFit")).arg(Lugar_Valor(v), Cita(valor));
    }
    return {};
}

void TF_Decoder::B_ActualesClick() {
    // What the decoder is known to hold: an acknowledged write is never undone.
    for (const TValor_Rejilla& v : Valores_Rejilla()) {
        QWidget* nuevo = Celda(v.Fila, v.Columna, TLado::Nuevo);
        Pon_Valor_Control(nuevo,
                          marcas_.Conocido(nuevo, leido_)
                              .value_or(Valor_Control(Celda(v.Fila, v.Columna, TLado::Actual))));
    }
}

void TF_Decoder::Pide_Fichero(bool guardar) {
    QString carpeta = Registro().Carpeta_Instalacion();
    if (carpeta.isEmpty()) {
        carpeta = Carpeta_Datos_Usuario();
        // The folder the program keeps its data in may not have been needed yet.
        QDir().mkpath(carpeta);
    }
    TDialogo_Fichero dialogo(this, Titulo_Kalvex(Texto(guardar ? QStringLiteral("Cfg_SaveFile")
                                                               : QStringLiteral("Cfg_LoadFile"))));
    dialogo.setObjectName(QStringLiteral("Dialogo_Configuracion"));
    dialogo.setAcceptMode(guardar ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialogo.setFileMode(guardar ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialogo.setDefaultSuffix(Extension);
    dialogo.setNameFilter(Texto(QStringLiteral("Cfg_Filter")) + QStringLiteral(" (*.") + Extension +
                          QLatin1Char(')'));
    dialogo.setDirectory(carpeta);
    if (guardar)
        dialogo.selectFile(QDir(carpeta).filePath(
            Modelo().Referencia +
            QDateTime::currentDateTime().toString(QStringLiteral("_yyyy-MM-dd_HHmm.")) +
            Extension));
    // Over this editor, which stays on top of the other windows.
    Sobre_Su_Ventana(&dialogo);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return;
    const QString fichero = dialogo.selectedFiles().constFirst();
    if (guardar)
        Guarda_Fichero_Configuracion(fichero);
    else
        Carga_Fichero_Configuracion(fichero);
}

void TF_Decoder::Aviso_Fichero(const QString& texto) {
    QMessageBox caja(QMessageBox::Warning, Titulo_Kalvex(), texto, QMessageBox::Ok, this);
    caja.setObjectName(QStringLiteral("Aviso_Configuracion"));
    Sobre_Su_Ventana(&caja);
    caja.exec();
}
