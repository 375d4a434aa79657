// The devices test window over the simulated bus: a range of answered codes on a line paced
// at 9600 baud, against the time its frames take on the line, and a range of silent codes,
// against what the engine's three attempts of 250 ms allow. Runs offscreen, the real window
// driven by its Start button.

#include "Creacion_Ventanas.h"
#include "F_Principal.h"
#include "SimulatedLine.h"
#include "TAplicacion.h"
#include "UF_Test.h"
#include "Ventanas.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <cstdio>
#include <memory>
#include <string>

namespace {

// Every frame is 4 bytes of 12 bits at 9600 baud. The simulator paces only what it sends: the
// program's requests reach it at once, so the answered range can beat its two-frame limit; a
// ratio above 1 is time the window or the engine adds.
constexpr double Frame_s = 4 * 12 / 9600.0;
constexpr double Silent_Limit_s = 3 * 0.25;

// Seconds that Start takes for the range; -1 when the list did not get one row per code.
double Run(TF_Test* window, const QString& from, const QString& to, int codes) {
    auto* list = window->findChild<QTreeWidget*>(QStringLiteral("Lista"));
    list->clear();
    window->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(from);
    window->findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(to);
    QElapsedTimer clock;
    clock.start();
    window->findChild<QPushButton*>(QStringLiteral("B_START"))->click();
    const double s = double(clock.nsecsElapsed()) / 1e9;
    return list->topLevelItemCount() == codes ? s : -1;
}

} // namespace

int main(int argc, char** argv) {
    const BenchFolders config;
    if (!config.Valid())
        return 1;

    // One decoder serving 0001 to 0100; 0201 to 0210 are nobody's.
    std::string serves;
    for (int n = 1; n <= 100; ++n)
        serves += " " + QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0')).toStdString();
    const auto sim = Simulated_Line(config, "[hall]\nmodel = 6746\nserves =" + serves + "\n");

    TAplicacion app(argc, argv);
    Crea_Ventanas();
    TF_Test* window = Ventanas().F_Test;
    window->show();

    const double answered = Run(window, QStringLiteral("0001"), QStringLiteral("0100"), 100);
    const double silent = Run(window, QStringLiteral("0201"), QStringLiteral("0210"), 10);
    if (answered < 0 || silent < 0) {
        std::fprintf(stderr, "bench_devices_test: the list did not get one row per code\n");
        return 1;
    }
    const double line_limit = 100 * 2 * Frame_s;
    std::printf("devices_test_answered: %.3f s\n", answered);
    std::printf("devices_test_answered_line_limit: %.3f s\n", line_limit);
    std::printf("devices_test_answered_ratio: %.2f x\n", answered / line_limit);
    std::printf("devices_test_silent_per_code: %.3f s\n", silent / 10);
    std::printf("devices_test_silent_limit_per_code: %.2f s\n", Silent_Limit_s);
    std::fflush(stdout);

    window->hide();
    Destruye_Ventanas();
    return 0;
}
