// The survey window over the simulated bus: 100 audio codes holding ten eight-output
// decoders, on a line paced at 9600 baud, against the time the line itself needs for it; and
// the same codes at the quick pace. Runs offscreen, the real window driven by its Start
// button, the installation record written as in use.

#include "Creacion_Ventanas.h"
#include "SimulatedLine.h"
#include "TAplicacion.h"
#include "UF_Sondeo.h"
#include "Ventanas.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cstdio>
#include <string>

namespace {

constexpr int Decoders = 10;
constexpr int Codes = 100;
// The line's own time: a silent code waits 250 ms per attempt; an answering decoder costs its
// query (request and reply, 10 ms), its programming request (two frames, 10 ms), one frame and
// its acknowledgement per value (10 ms each) and its closing frame (two frames, 10 ms). The
// other codes a decoder holds cost nothing: they are served by its read-out.
constexpr double Silent_Attempt_s = 0.25;
constexpr double Pair_s = 0.010;
constexpr int Values = 8;
constexpr double Decoder_s = Pair_s + Pair_s + Values * Pair_s + Pair_s;

// Decoder k serves and holds the codes 10k+1 … 10k+8; 10k+9 and 10k+10 are nobody's.
std::string Installation() {
    std::string text;
    for (int k = 0; k < Decoders; ++k) {
        std::string codes;
        for (int i = 1; i <= Values; ++i)
            codes +=
                " " + QStringLiteral("%1").arg(10 * k + i, 4, 10, QLatin1Char('0')).toStdString();
        text += "[d" + std::to_string(k) + "]\nmodel = 6746\nserves =" + codes +
                "\ncodes =" + codes + "\n";
    }
    return text;
}

// Seconds that Start takes; -1 when the survey did not find every decoder.
double Run(TF_Sondeo* window, const char* pace) {
    window->findChild<QCheckBox*>(QStringLiteral("CB_Tipo1"))->setChecked(true);
    for (int t = 2; t <= 4; ++t)
        window->findChild<QCheckBox*>(QStringLiteral("CB_Tipo%1").arg(t))->setChecked(false);
    window->findChild<QLineEdit*>(QStringLiteral("Edit_Desde1"))->setText(QStringLiteral("0001"));
    window->findChild<QLineEdit*>(QStringLiteral("Edit_Hasta1"))->setText(QStringLiteral("0100"));
    window->findChild<QRadioButton*>(QString::fromLatin1(pace))->setChecked(true);
    QElapsedTimer clock;
    clock.start();
    window->findChild<QPushButton*>(QStringLiteral("B_Start"))->click();
    const double s = double(clock.nsecsElapsed()) / 1e9;
    const QString summary = window->findChild<QLabel*>(QStringLiteral("Label_Progreso"))->text();
    return summary.contains(QStringLiteral("%1 decoders found").arg(Decoders)) ? s : -1;
}

} // namespace

int main(int argc, char** argv) {
    const BenchFolders config;
    if (!config.Valid())
        return 1;

    const auto sim = Simulated_Line(config, Installation());

    TAplicacion app(argc, argv);
    Crea_Ventanas();
    TF_Sondeo* window = Ventanas().F_Sondeo;
    window->show();

    const double thorough = Run(window, "R_Minucioso");
    const double quick = Run(window, "R_Rapido");
    if (thorough < 0 || quick < 0) {
        std::fprintf(stderr, "bench_survey: the survey did not find every decoder\n");
        return 1;
    }
    const int silent = Codes - Decoders * Values;
    const double line = Decoders * Decoder_s + silent * 3 * Silent_Attempt_s;
    std::printf("survey_thorough_100_codes: %.3f s\n", thorough);
    std::printf("survey_line_time: %.3f s\n", line);
    std::printf("survey_ratio: %.3f x\n", thorough / line);
    std::printf("survey_quick_100_codes: %.3f s\n", quick);
    std::printf("survey_quick_line_time: %.3f s\n",
                Decoders * Decoder_s + silent * Silent_Attempt_s);
    std::fflush(stdout);

    window->hide();
    Destruye_Ventanas();
    return 0;
}
