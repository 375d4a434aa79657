#include "Instalacion_Abierta.h"

#include "Aviso_Ajustes.h"
#include "Base_Instalacion.h"
#include "Carpetas.h"
#include "Configuracion.h"
#include "Idiomas.h"
#include "Instalacion_Por_Defecto.h"
#include "TIniFile.h"
#include "UVentana_Kalvex.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QScopedValueRollback>

namespace {

const QString Seccion = QStringLiteral("Installation");
const QString Clave_Reciente = QStringLiteral("Recent%1");

TIniFile Ajustes() {
    return TIniFile(Fichero_Ajustes());
}

} // namespace

TInstalacion_Abierta::TInstalacion_Abierta(QObject* parent) : QObject(parent) {}

TInstalacion_Abierta::~TInstalacion_Abierta() {
    Instala_Registro(nullptr);
}

QStringList TInstalacion_Abierta::Recientes() const {
    const TIniFile ini = Ajustes();
    QStringList recientes;
    for (int i = 1; i <= Maximo_Recientes; ++i) {
        const QString fichero = ini.ReadString(Seccion, Clave_Reciente.arg(i), {});
        if (!fichero.isEmpty() && !recientes.contains(fichero))
            recientes.append(fichero);
    }
    return recientes;
}

bool TInstalacion_Abierta::Recuerda(const QString& fichero, QString& causa) {
    QStringList recientes = Recientes();
    recientes.removeAll(fichero);
    recientes.prepend(fichero);
    QList<std::pair<QString, QString>> claves;
    for (int i = 1; i <= Maximo_Recientes; ++i)
        claves.append({Clave_Reciente.arg(i), recientes.value(i - 1)});
    return Ajustes().WriteStrings(Seccion, claves, causa);
}

void TInstalacion_Abierta::Abre_Ultima() {
    const QStringList recientes = Recientes();
    if (!recientes.isEmpty() && !QFileInfo::exists(recientes.first())) {
        // An empty file in its place would hide every decoder from the clash check.
        ausente_ = recientes.first();
        emit Cambiado();
        return;
    }
    // The one opened at every start: a list the settings cannot keep loses nothing here.
    QString causa;
    if (!Abre_Sin_Avisar(recientes.isEmpty() ? Instalacion_Por_Defecto() : recientes.first(),
                         causa))
        qWarning("%s", qUtf8Printable(Aviso_Ajustes(causa, {})));
}

void TInstalacion_Abierta::Abre(const QString& fichero, QWidget* ventana) {
    QString causa;
    if (!Abre_Sin_Avisar(fichero, causa))
        Avisa_Ajustes(ventana, causa, Texto(QStringLiteral("Set_ThisRunOnly")));
    Avisa(ventana);
}

bool TInstalacion_Abierta::Abre_Sin_Avisar(const QString& fichero, QString& causa) {
    const QString absoluto = QFileInfo(fichero).absoluteFilePath();
    // The old record stores what it has queued and lets go of its file first.
    Instala_Registro(nullptr);
    emit Se_Cierra();
    base_.reset();
    base_ = std::make_unique<TBase_Instalacion>(absoluto);
    base_->Al_Fallar([this](const QString& causa) { Avisa_Fallo(causa); });
    ausente_.clear();
    Instala_Registro(this);
    const bool recordada = Recuerda(absoluto, causa);
    avisado_ = false;
    emit Cambiado();
    return recordada;
}

void TInstalacion_Abierta::Avisa(QWidget* ventana) {
    if (avisado_ || !base_)
        return;
    avisado_ = true;
    const QString aviso = base_->Aviso();
    if (aviso.isEmpty())
        return;
    QMessageBox caja(QMessageBox::Information, Titulo_Kalvex(), aviso, QMessageBox::Ok, ventana);
    caja.setObjectName(QStringLiteral("Aviso_Instalacion"));
    Sobre_Su_Ventana(&caja);
    caja.exec();
}

void TInstalacion_Abierta::Avisa_Fallo(const QString& causa) {
    // The windows that show the record show what the file holds again.
    emit Registrado();
    // A burst of failures (a full disk) is told once.
    if (avisando_fallo_ || !base_)
        return;
    const QScopedValueRollback<bool> avisando(avisando_fallo_, true);
    QMessageBox caja(
        QMessageBox::Warning, Titulo_Kalvex(),
        Texto(QStringLiteral("GEN_MEN162")).arg(QDir::toNativeSeparators(base_->Fichero()), causa),
        QMessageBox::Ok, QApplication::activeWindow());
    caja.setObjectName(QStringLiteral("Fallo_Instalacion"));
    Sobre_Su_Ventana(&caja);
    caja.exec();
}

void TInstalacion_Abierta::Lectura(const QString& puerto, const TConfiguracion& leida) {
    base_->Lectura(puerto, leida);
    emit Registrado();
}

QStringList TInstalacion_Abierta::Choques(const TConfiguracion& nueva) {
    return base_->Choques(nueva);
}

void TInstalacion_Abierta::Intencion(const TConfiguracion& nueva) {
    base_->Intencion(nueva);
}

void TInstalacion_Abierta::Grabacion(const TGrabacion_Registro& grabacion) {
    base_->Grabacion(grabacion);
    emit Registrado();
}

void TInstalacion_Abierta::Prueba(const TPrueba_Registro& fila) {
    base_->Prueba(fila);
    emit Registrado();
}

void TInstalacion_Abierta::Editor_Cerrado(int referencia) {
    base_->Editor_Cerrado(referencia);
}

QList<int> TInstalacion_Abierta::Modelos_Codigo(const TCodigo_Registro& codigo) const {
    return base_ ? base_->Modelos_Codigo(codigo) : QList<int>{};
}

void TInstalacion_Abierta::Sondeo(const TSondeo_Registro& sondeo) {
    base_->Sondeo(sondeo);
    emit Registrado();
}

void TInstalacion_Abierta::Problema_Sondeo(const TProblema_Sondeo& problema) {
    base_->Problema_Sondeo(problema);
    emit Registrado();
}

void TInstalacion_Abierta::Pon_Avance_Sondeo(const QString& avance) {
    base_->Pon_Avance_Sondeo(avance);
}

QString TInstalacion_Abierta::Avance_Sondeo() const {
    return base_ ? base_->Avance_Sondeo() : QString();
}

QList<TCodigo_Registro> TInstalacion_Abierta::Codigos_Conocidos() const {
    return base_ ? base_->Codigos_Conocidos() : QList<TCodigo_Registro>{};
}

QString TInstalacion_Abierta::Nombre_Instalacion() const {
    if (!base_)
        return {};
    const QString sitio = base_->Sitio();
    return sitio.isEmpty() ? QFileInfo(base_->Fichero()).completeBaseName() : sitio;
}

QString TInstalacion_Abierta::Carpeta_Instalacion() const {
    return base_ ? QFileInfo(base_->Fichero()).absolutePath() : QString();
}
