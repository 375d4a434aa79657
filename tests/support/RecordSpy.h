#pragma once
// An installation record that remembers every call the windows make, and answers the clash
// check with what the test sets.

#include "Registro.h"

#include <functional>

namespace kalvex::test {

class RecordSpy : public TRegistro {
public:
    void Lectura(const QString& puerto, const TConfiguracion& leida) override {
        this->puerto = puerto;
        lecturas.append(leida);
    }
    QStringList Choques(const TConfiguracion& nueva) override {
        preguntas.append(nueva);
        return choques;
    }
    void Intencion(const TConfiguracion& nueva) override {
        intenciones.append(nueva);
        if (al_empezar)
            al_empezar();
    }
    void Grabacion(const TGrabacion_Registro& grabacion) override { grabaciones.append(grabacion); }
    void Prueba(const TPrueba_Registro& fila) override { pruebas.append(fila); }
    void Editor_Cerrado(int referencia) override { cerrados.append(referencia); }
    QString Nombre_Instalacion() const override { return nombre; }
    QList<int> Modelos_Codigo(const TCodigo_Registro& codigo) const override {
        return modelos_codigo ? modelos_codigo(codigo) : QList<int>();
    }
    void Sondeo(const TSondeo_Registro& sondeo) override { sondeos.append(sondeo); }
    void Problema_Sondeo(const TProblema_Sondeo& problema) override { problemas.append(problema); }
    void Pon_Avance_Sondeo(const QString& texto) override { avance = texto; }
    QString Avance_Sondeo() const override { return avance; }
    QList<TCodigo_Registro> Codigos_Conocidos() const override { return conocidos; }
    QString Carpeta_Instalacion() const override { return carpeta; }

    QString puerto;
    QList<TConfiguracion> lecturas;
    QList<TConfiguracion> preguntas;
    QList<TConfiguracion> intenciones;
    std::function<void()> al_empezar; // when a Save begins
    QList<TGrabacion_Registro> grabaciones;
    QList<TPrueba_Registro> pruebas;
    QList<int> cerrados;
    QStringList choques;
    std::function<QList<int>(const TCodigo_Registro&)> modelos_codigo;
    QList<TSondeo_Registro> sondeos;
    QList<TProblema_Sondeo> problemas;
    QString avance;                    // what the survey left to resume
    QList<TCodigo_Registro> conocidos; // for the survey's default ranges
    QString nombre;                    // of the open installation
    QString carpeta;                   // its folder
};

} // namespace kalvex::test
