#pragma once
// The installation the program records into. At start it is the one used last (the default
// one in the data folder before the user has chosen any); New and Open replace it, and the
// settings remember it with the recent files. It stands between the windows and the record:
// each recording goes through to the open installation, and Registrado tells the windows that
// show the record to read it again.

#include "Registro.h"

#include <QObject>
#include <QStringList>

#include <memory>

class TBase_Instalacion;
class QWidget;

class TInstalacion_Abierta : public QObject, public TRegistro {
    Q_OBJECT
public:
    explicit TInstalacion_Abierta(QObject* parent = nullptr);
    ~TInstalacion_Abierta() override;

    // Opens the installation last used; nothing is shown yet (see Avisa). A file that is gone
    // (a drive not plugged in) is not created again: nothing is open, and Ausente names it.
    void Abre_Ultima();
    // The installation last used, when it could not be opened because its file is gone.
    QString Ausente() const { return ausente_; }
    // Opens (and creates when missing) the file, remembers it, and tells the user what the
    // record has to say about it (set aside, read-only) in a box over `ventana`, and when the
    // settings could not remember it.
    void Abre(const QString& fichero, QWidget* ventana);
    // Shows what the record has to say about the open file, once.
    void Avisa(QWidget* ventana);

    TBase_Instalacion* Base() const { return base_.get(); }
    // Most recent first, the open one included; at most Maximo_Recientes.
    QStringList Recientes() const;
    static constexpr int Maximo_Recientes = 6;

    void Lectura(const QString& puerto, const TConfiguracion& leida) override;
    QStringList Choques(const TConfiguracion& nueva) override;
    void Intencion(const TConfiguracion& nueva) override;
    void Grabacion(const TGrabacion_Registro& grabacion) override;
    void Prueba(const TPrueba_Registro& fila) override;
    void Editor_Cerrado(int referencia) override;
    QList<int> Modelos_Codigo(const TCodigo_Registro& codigo) const override;
    void Sondeo(const TSondeo_Registro& sondeo) override;
    void Problema_Sondeo(const TProblema_Sondeo& problema) override;
    void Pon_Avance_Sondeo(const QString& avance) override;
    QString Avance_Sondeo() const override;
    QList<TCodigo_Registro> Codigos_Conocidos() const override;
    // The site's name, or the file's name while the site has none.
    QString Nombre_Instalacion() const override;
    QString Carpeta_Instalacion() const override;

signals:
    // Another installation was opened.
    void Cambiado();
    // Something was recorded into the open installation.
    void Registrado();
    // The open record is about to go: nothing may read it any more.
    void Se_Cierra();

private:
    // False, with the reason in causa, when the file was opened but the settings could not
    // remember it.
    bool Abre_Sin_Avisar(const QString& fichero, QString& causa);
    bool Recuerda(const QString& fichero, QString& causa);
    // Something recorded was not stored: the user hears it over the window in use.
    void Avisa_Fallo(const QString& causa);

    std::unique_ptr<TBase_Instalacion> base_;
    bool avisado_ = false;
    bool avisando_fallo_ = false;
    QString ausente_;
};
