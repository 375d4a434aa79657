#pragma once
// The line log: the monitor's rows as text, one file a day in the user's data folder
// ("log/line-2024-05-31.log"), for the installer to attach to a support request. Lines are
// kept in memory and written about once a second and when the log ends, so the user-interface
// thread never waits on the disk per frame. Files older than 30 days go at start.

#include <QDate>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

class TRegistro_Linea : public QObject {
    Q_OBJECT
public:
    static constexpr int Dias_Guardados = 30;

    // Removes the expired files of the folder (Limpia) at once.
    explicit TRegistro_Linea(const QString& carpeta, QObject* parent = nullptr);
    ~TRegistro_Linea() override;

    // <user data folder>/log.
    static QString Carpeta_Normal();
    static QString Nombre_Fichero(const QDate& dia);
    // Removes the log files dated more than Dias_Guardados days before hoy; other files of the
    // folder are left alone. Returns how many went.
    static int Limpia(const QString& carpeta, const QDate& hoy);

    // Off: lines are no longer taken, and those waiting are written first.
    void Activa(bool activo);
    bool Activo() const { return activo_; }
    // The first line of each new file: the column titles.
    void Pon_Cabecera(const QString& cabecera) { cabecera_ = cabecera; }
    // One line, for the file of the day of hora_ms (local time).
    void Anade(qint64 hora_ms, const QString& linea);
    // Writes what waits now. False when a file could not be written: the log then turns
    // itself off and OnFallo is told which file.
    bool Vuelca();

    std::function<void(const QString& fichero)> OnFallo;

private:
    struct TLinea {
        QDate Dia;
        QString Texto;
    };
    bool Escribe(const QDate& dia, const QString& texto);

    QString carpeta_;
    QString cabecera_;
    bool activo_ = false;
    std::vector<TLinea> espera_;
    QTimer vuelco_;
};
