// What the line monitor costs the link: reply latency with the monitor closed, then with its
// window shown and holding 100,000 rows (the same run, the same far end), and the time the
// shown window takes to add 10,000 rows.

#include "Configuracion.h"
#include "DECODER2.h"
#include "F_Monitor.h"
#include "Idiomas.h"
#include "InstantFarEnd.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

// Median and 99th percentile of 1000 answered requests, in milliseconds.
bool Latencies(TDECODER2& link, FarEnd& far, double& median, double& p99) {
    std::vector<double> latencies;
    for (int i = 0; i < 1000; ++i) {
        const Trama_Dec r = link.Transact(0x60, uint8_t(i), 0x12, 0x34, true);
        const int64_t back = NowNs();
        if (r[0] != 0x20)
            return false;
        latencies.push_back(double(back - far.repliedAt.load()) / 1e6);
    }
    std::sort(latencies.begin(), latencies.end());
    median = latencies[latencies.size() / 2];
    p99 = latencies[latencies.size() * 99 / 100];
    return true;
}

void Adds(TF_Monitor& monitor, int rows) {
    TSuceso_Linea s;
    s.Clase = TSuceso_Linea::Peticion;
    s.Trama = {0xB0, 0x02, 0x35, 0x12};
    for (int i = 0; i < rows; ++i)
        monitor.Monitor().Suceso(s);
    monitor.Monitor().Vuelca();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The shipped texts, as the program shows them.
    Idioma = QStringLiteral("ENGLISH");
    Abre_Fichero_Idiomas();
    int master = -1, slave = -1;
    if (!Raw_Pty(master, slave))
        return 1;
    FarEnd far(master);
    QTemporaryDir logs;

    TDECODER2 link;
    link.SetPort(QString::fromLocal8Bit(ttyname(slave)));
    link.Open();
    // As in the program: the monitor listens from the start, its window closed.
    TF_Monitor monitor(&link, TFilas_Monitor::Capacidad_Normal, logs.path());

    double median = 0, p99 = 0;
    if (!Latencies(link, far, median, p99))
        return 1;
    std::printf("transact_reply_latency_median_monitor_closed: %.3f ms\n", median);
    std::printf("transact_reply_latency_p99_monitor_closed: %.3f ms\n", p99);

    Adds(monitor, TFilas_Monitor::Capacidad_Normal);
    monitor.show();
    QApplication::processEvents();
    if (!Latencies(link, far, median, p99))
        return 1;
    std::printf("transact_reply_latency_median_monitor: %.3f ms\n", median);
    std::printf("transact_reply_latency_p99_monitor: %.3f ms\n", p99);

    // The window is full: each row added also removes the oldest one.
    QApplication::processEvents();
    const auto t0 = std::chrono::steady_clock::now();
    Adds(monitor, 10000);
    QApplication::processEvents();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    std::printf("monitor_append_10000: %.1f ms\n", ms);
    std::fflush(stdout);
    monitor.hide();
    link.Close();
    return 0;
}
