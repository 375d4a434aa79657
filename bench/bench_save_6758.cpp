// A full Save of the sensors editor (eight codes, eight times, eight arming frames: 24
// transactions) against the simulator sending at the line's rate, compared with the time the
// line itself needs: a request and its reply, 5 ms each at 9600 baud.

#include "BusSimulator.h"
#include "Creacion_Ventanas.h"
#include "DECODER2.h"
#include "Enrutado.h"
#include "F_Principal.h"
#include "TAplicacion.h"
#include "TIniFile.h"
#include "UF_Decoder_6758.h"
#include "Ventanas.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const char* Installation = R"(
[sensors]
model = 6758
codes = A101 A102 A103 A104 A105 A106 A107 A108
times = 5s 6s 7s 8s 1m 2m 3m 4m
)";

constexpr int Transacciones = 24;
constexpr double Trama_ms = 5.0; // 4 bytes of 12 bits at 9600 baud
constexpr int Rondas = 5;

bool Espera(const std::function<bool()>& hecho, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!hecho()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Notes when the result dialog appears, which ends the Save, and closes it.
class Resultado : public QObject {
public:
    QElapsedTimer* reloj = nullptr;
    qint64 fin = -1;
    QString nombre;
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* d = qobject_cast<QDialog*>(o);
        if (d && e->type() == QEvent::Show && d->objectName().startsWith("F_Mensa")) {
            fin = reloj->nsecsElapsed();
            nombre = d->objectName();
            QTimer::singleShot(0, d, &QDialog::reject);
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("KALVEX_CONFIG_DIR", config.path().toLocal8Bit());
    // The installation record goes there too, never to the user's data folder.
    qputenv("KALVEX_DATA_DIR", config.path().toLocal8Bit());
    kalvex::sim::BusSimulator sim(kalvex::sim::ParseInstallation(Installation, "bench"));
    const QString linea = config.filePath("tty");
    sim.Start(linea.toStdString());
    sim.SetPacing(true);
    TIniFile(config.filePath("KALVEX.INI")).WriteString("General", "Sys_Port", linea);

    TAplicacion app(argc, argv);
    Crea_Ventanas();
    TF_Princ* principal = Ventanas().F_Princ;
    auto editor = std::make_unique<TF_Decoder_6758>();
    Ventanas().F_Decoder_6758 = editor.get();
    principal->Decod1->OnDECRecibedNotDemand = [&](QObject*, Trama_Dec t) {
        editor->Lee_Decoder(t);
    };
    Enrutado().Salida_Actual = 0;
    editor->show();
    Enrutado().Modelo_Activo = 9;

    QElapsedTimer reloj;
    reloj.start();
    Resultado resultado;
    resultado.reloj = &reloj;
    app.installEventFilter(&resultado);

    auto* guardar = editor->findChild<QPushButton*>("B_Save");
    auto* ultimo = editor->findChild<QLineEdit*>("Edit32");
    std::vector<double> medidas;
    for (int r = 0; r < Rondas; ++r) {
        // The decoder answers only while it is programming: a read-out first, times included.
        sim.PressButton("sensors");
        if (!Espera([&] { return ultimo->text().isEmpty(); }) ||
            !Espera([&] { return !ultimo->text().isEmpty(); })) {
            std::fprintf(stderr, "read-out %d did not complete\n", r);
            return 1;
        }
        resultado.fin = -1;
        const qint64 inicio = reloj.nsecsElapsed();
        guardar->click();
        if (resultado.fin < 0 || resultado.nombre != "F_Mensa05") {
            std::fprintf(stderr, "save %d ended with %s\n", r, qPrintable(resultado.nombre));
            return 1;
        }
        medidas.push_back(double(resultado.fin - inicio) / 1e6);
    }
    std::sort(medidas.begin(), medidas.end());
    const double limite = Transacciones * 2 * Trama_ms;
    std::printf("save_6758_ratio: %.3f\n", medidas[medidas.size() / 2] / limite);
    std::printf("save_6758_line_limit: %.0f ms\n", limite);
    std::printf("save_6758_median: %.1f ms\n", medidas[medidas.size() / 2]);
    std::fflush(stdout);
    editor->hide();
    editor.reset();
    Ventanas().F_Decoder_6758 = nullptr;
    Destruye_Ventanas();
    return 0;
}
