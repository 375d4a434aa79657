#pragma once
// Installations in a fresh temporary folder, the texts in English, and short ways to write
// the configurations the editors hand to the record.

#include "Base_Instalacion.h"
#include "Configuracion.h"
#include "Idiomas.h"
#include "QtApp.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline bool operator==(const TValor_Registro& a, const TValor_Registro& b) {
    return a.Campo == b.Campo && a.Lugar == b.Lugar && a.Texto == b.Texto;
}

namespace kalvex::test {

inline TValor_Registro Valor(const QString& campo, const QString& texto) {
    return {campo, campo + QStringLiteral(" place"), texto};
}

inline TCodigo_Registro Codigo(TEspacio_Codigo espacio, qint64 desde, qint64 hasta,
                               const QString& lugar) {
    const QString texto = desde == hasta ? QString::number(desde, 16)
                                         : QStringLiteral("%1–%2").arg(QString::number(desde, 16),
                                                                       QString::number(hasta, 16));
    return {espacio, desde, hasta, texto.toUpper(), lugar};
}

inline TCodigo_Registro Llamada(qint64 codigo, const QString& lugar = QStringLiteral("output 1")) {
    return Codigo(TEspacio_Codigo::Llamada, codigo, codigo, lugar);
}

inline TConfiguracion Config(int referencia, const QList<TValor_Registro>& valores,
                             const QList<TCodigo_Registro>& codigos = {}) {
    return {referencia, valores, codigos, false};
}

inline TConfiguracion Vacia(int referencia) {
    return {referencia, {Valor("Edit1", "")}, {}, true};
}

inline TGrabacion_Registro Grabacion(const TConfiguracion& nueva, const QList<bool>& aceptadas,
                                     const QString& resultado = QStringLiteral("Saved")) {
    return {nueva, aceptadas, !aceptadas.contains(false), resultado};
}

// Runs SQL on the closed file as any SQLite tool would.
inline QList<QStringList> Consulta(const QString& ruta, const QString& sql) {
    QList<QStringList> filas;
    {
        QSqlDatabase base = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "tool");
        base.setDatabaseName(ruta);
        EXPECT_TRUE(base.open());
        QSqlQuery q(base);
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
        while (q.next()) {
            QStringList fila;
            for (int i = 0; i < q.record().count(); ++i) {
                fila.append(q.value(i).toString());
            }
            filas.append(fila);
        }
    }
    QSqlDatabase::removeDatabase("tool");
    return filas;
}

class RecordTest : public ::testing::Test, public WithCoreApp {
protected:
    RecordTest() {
        qputenv("KALVEX_CONFIG_DIR", dir_.filePath(QStringLiteral("config")).toLocal8Bit());
        Abre_Fichero_Idiomas(); // the installed language file, as a fresh program finds it
        antes_ = Idioma;
        Idioma = QStringLiteral("ENGLISH");
    }
    ~RecordTest() override {
        Idioma = antes_;
        Libera_Fichero_Idiomas();
        qunsetenv("KALVEX_CONFIG_DIR");
    }

    QString Ruta(const QString& nombre = QStringLiteral("site.kalvex")) const {
        return dir_.filePath(nombre);
    }
    std::unique_ptr<TBase_Instalacion> Abre(const QString& nombre = QStringLiteral("site.kalvex")) {
        return std::make_unique<TBase_Instalacion>(Ruta(nombre));
    }

private:
    QTemporaryDir dir_;
    QString antes_;
};

} // namespace kalvex::test
