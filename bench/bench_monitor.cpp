// What the line monitor costs the link: reply latency with its window closed and with it shown,
// holding 100,000 rows (the same run, the same far end), and the time the shown window takes to
// add 10,000 rows.

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

// Adds the latencies of n answered requests, in milliseconds.
bool Latencies(TDECODER2& link, FarEnd& far, int n, std::vector<double>& latencies) {
    for (int i = 0; i < n; ++i) {
        const Trama_Dec r = link.Transact(0x60, uint8_t(i), 0x12, 0x34, true);
        const int64_t back = NowNs();
        if (r[0] != 0x20)
            return false;
        latencies.push_back(double(back - far.repliedAt.load()) / 1e6);
    }
    return true;
}

void Print(const char* name, std::vector<double>& latencies) {
    std::sort(latencies.begin(), latencies.end());
    std::printf("transact_reply_latency_median%s: %.3f ms\n", name,
                latencies[latencies.size() / 2]);
    std::printf("transact_reply_latency_p99%s: %.3f ms\n", name,
                latencies[latencies.size() * 99 / 100]);
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

    // The monitor holds 100,000 rows in both cases; closed and shown take turns, so that a
    // drift of the machine's speed during the run falls on both alike.
    Adds(monitor, TFilas_Monitor::Capacidad_Normal);
    std::vector<double> closed, shown;
    for (int round = 0; round < 10; ++round) {
        monitor.hide();
        QApplication::processEvents();
        if (!Latencies(link, far, 200, closed))
            return 1;
        monitor.show();
        QApplication::processEvents();
        if (!Latencies(link, far, 200, shown))
            return 1;
    }
    Print("_monitor_closed", closed);
    Print("_monitor", shown);

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
