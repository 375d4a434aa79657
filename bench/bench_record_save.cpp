// What the installation record adds to a Save on the user-interface thread, in an
// installation of 1,000 decoders: the clash check of the New codes and the recording of the
// Save (the SQL runs on the record's own thread, which this run keeps busy). Median over many
// Saves, without a clash (the usual case) and with one (its line worded in English).

#include "Base_Instalacion.h"
#include "Configuracion.h"
#include "Idiomas.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int Decoders = 1000;
constexpr int Codigos = 4;
constexpr int Valores = 12;
constexpr int Grabaciones = 1000;
const int Modelos[] = {6746, 6747, 6758, 6759};

TConfiguracion Configuracion(int decoder, qint64 primer_codigo) {
    TConfiguracion c;
    c.Referencia = Modelos[decoder % 4];
    for (int v = 0; v < Valores; ++v) {
        const QString campo = QStringLiteral("Edit%1").arg(v + 1);
        c.Valores.append({campo, QStringLiteral("Output %1, time").arg(v + 1),
                          QString::number(decoder * 100 + v)});
    }
    for (int k = 0; k < Codigos; ++k) {
        const qint64 codigo = primer_codigo + k;
        c.Codigos.append({TEspacio_Codigo::Llamada, codigo, codigo, QString::number(codigo, 16),
                          QStringLiteral("output %1").arg(k + 1)});
    }
    return c;
}

double Mediana_ms(std::vector<qint64> ns) {
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1e6;
}

// Times Choques + Grabacion for Saves of existing decoders; `choque`: the first New code is
// the one the previous Save gave another decoder.
double Mide(TBase_Instalacion& base, bool choque, qint64& siguiente_codigo) {
    std::vector<qint64> tiempos;
    qint64 anterior = -1;
    for (int s = 0; s < Grabaciones; ++s) {
        const int decoder = (s * 7) % Decoders;
        base.Lectura(QStringLiteral("COM1"), Configuracion(decoder, decoder * Codigos));
        TGrabacion_Registro g;
        g.Nueva = Configuracion(decoder, siguiente_codigo);
        siguiente_codigo += Codigos;
        const bool choca = choque && anterior >= 0;
        if (choca) {
            g.Nueva.Codigos[0].Desde = g.Nueva.Codigos[0].Hasta = anterior;
        }
        anterior = g.Nueva.Codigos[1].Desde;
        g.Aceptadas = QList<bool>(Valores, true);
        g.Todo_Aceptado = true;
        g.Resultado = QStringLiteral("Values saved");
        QElapsedTimer reloj;
        reloj.start();
        const QStringList choques = base.Choques(g.Nueva);
        base.Grabacion(g);
        const qint64 ns = reloj.nsecsElapsed();
        if (choques.size() != (choca ? 1 : 0)) {
            std::fprintf(stderr, "record_save_overhead: wrong clash count\n");
            std::exit(1);
        }
        if (choca == choque) {
            tiempos.push_back(ns);
        }
    }
    return Mediana_ms(tiempos);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("KALVEX_CONFIG_DIR", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    Abre_Fichero_Idiomas();
    Idioma = QStringLiteral("ENGLISH");

    TBase_Instalacion base(dir.filePath(QStringLiteral("bench.kalvex")));
    for (int d = 0; d < Decoders; ++d) {
        base.Lectura(QStringLiteral("COM1"), Configuracion(d, d * Codigos));
        base.Editor_Cerrado(Modelos[d % 4]);
    }
    base.Historia(1); // waits until the installation is stored
    qint64 siguiente_codigo = Decoders * Codigos;
    const double sin_choque = Mide(base, false, siguiente_codigo);
    const double con_choque = Mide(base, true, siguiente_codigo);
    std::printf("record_save_overhead: %.3f ms\n", sin_choque);
    std::printf("record_save_overhead_with_clash: %.3f ms\n", con_choque);
    return 0;
}
