// Start-up: from the program's start to its main window shown with every window created,
// and the peak resident memory by then. Runs offscreen, on a pseudo-terminal as the port.

#include "BenchFolders.h"
#include "Creacion_Ventanas.h"
#include "F_Principal.h"
#include "TAplicacion.h"
#include "TIniFile.h"
#include "Ventanas.h"

#include <QElapsedTimer>
#include <QWindow>

#include <cstdio>
#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    const BenchFolders config;

    // Settings that name a port that opens, so no error box waits for a click.
    int master = -1, slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return 1;
    TIniFile(config.Path("KALVEX.INI"))
        .WriteString("General", "Sys_Port", QString::fromLocal8Bit(ttyname(slave)));
    const qint64 setup = clock.nsecsElapsed();

    TAplicacion app(argc, argv);
    Crea_Ventanas();
    TF_Princ* main = Ventanas().F_Princ;
    main->show();
    while (!main->isVisible() || !main->windowHandle() || !main->windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    const qint64 shown = clock.nsecsElapsed() - setup;

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("startup_to_main_window: %.1f ms\n", double(shown) / 1e6);
    std::printf("startup_peak_rss: %.1f MB\n", double(usage.ru_maxrss) / 1024.0);
    std::fflush(stdout);
    main->close();
    Destruye_Ventanas();
    return 0;
}
