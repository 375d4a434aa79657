// The handover report of a large installation: 500 decoders of 12 values each, from the
// snapshot to the PDF on disk. Median of three runs.

#include "BenchFolders.h"
#include "Configuracion.h"
#include "Idiomas.h"
#include "Informe_Entrega.h"
#include "Instantanea.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

TInstantanea Instalacion_Grande() {
    TInstantanea s;
    s.Sitio = QStringLiteral("Residencial Las Torres, bloques 1-25");
    const int modelos[] = {6745, 6746, 6758, 6759, 6734, 6786};
    for (int n = 0; n < 500; ++n) {
        TDecoder_Registro d;
        d.Id = n + 1;
        d.Referencia = modelos[n % 6];
        d.Ubicacion = QStringLiteral("Bloque %1, portal %2, planta %3")
                          .arg(n / 20 + 1)
                          .arg(n % 4 + 1)
                          .arg(n % 12);
        d.Nota = n % 5 ? QString() : QStringLiteral("Llave en conserjer\u00EDa");
        for (int v = 0; v < 12; ++v) {
            const int salida = v / 3 + 1;
            switch (v % 3) {
            case 0:
                d.Configuracion << TValor_Registro{QStringLiteral("Edit%1").arg(v),
                                                   QStringLiteral("Output %1, code").arg(salida),
                                                   QStringLiteral("%1").arg(1000 + n * 4 + salida)};
                break;
            case 1:
                d.Configuracion << TValor_Registro{QStringLiteral("Edit%1").arg(v),
                                                   QStringLiteral("Output %1, time").arg(salida),
                                                   QStringLiteral("%1 s").arg(v)};
                break;
            default:
                d.Configuracion << TValor_Registro{
                    QStringLiteral("Edit%1").arg(v),
                    QStringLiteral("Output %1, initial state").arg(salida), QStringLiteral("Off")};
            }
        }
        d.Ultima_Lectura = QDateTime(QDate(2026, 12, 1), QTime(8, 0)).addSecs(n * 300);
        d.Ultima_Grabacion = d.Ultima_Lectura.addSecs(60);
        d.Resultado = QStringLiteral("All values written");
        d.Confirmado = n % 7 != 0;
        s.Decoders << d;
    }
    for (int n = 0; n < 20; ++n) {
        const TCodigo_Registro codigo{TEspacio_Codigo::Llamada, 0x2000 + n, 0x2000 + n,
                                      QString::number(2000 + n),
                                      TFrase::De_Clave(QStringLiteral("GEN_MEN03")) + " 1"};
        s.Choques << TChoque_Registro{n + 1, codigo, n + 2, codigo};
    }
    return s;
}

} // namespace

int main(int argc, char** argv) {
    const BenchFolders carpeta;
    QApplication app(argc, argv);
    Abre_Fichero_Idiomas();
    Idioma = QStringLiteral("ENGLISH");

    const TInstantanea instalacion = Instalacion_Grande();
    std::array<double, 3> ms{};
    for (double& t : ms) {
        QElapsedTimer reloj;
        reloj.start();
        QString causa;
        if (!Informe_Entrega(instalacion, carpeta.Path(QStringLiteral("entrega.pdf")), causa)) {
            std::fprintf(stderr, "handover report failed: %s\n", qPrintable(causa));
            return 1;
        }
        t = double(reloj.nsecsElapsed()) / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("handover_report_500: %.0f ms\n", ms[1]);
    std::printf("handover_report_500_size: %.0f kB\n",
                double(QFileInfo(carpeta.Path(QStringLiteral("entrega.pdf"))).size()) / 1024.0);
    Libera_Fichero_Idiomas();
    return 0;
}
