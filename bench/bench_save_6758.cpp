// A full Save of the sensors editor (eight codes, eight times, eight arming frames: 24
// transactions) against the simulator sending at the line's rate, compared with the time the
// line itself needs: a request and its reply, 5 ms each at 9600 baud.

#include "EditorBench.h"

#include <QLineEdit>

#include <cstdio>

namespace {

const char* Installation = R"(
[sensors]
model = 6758
codes = A101 A102 A103 A104 A105 A106 A107 A108
times = 5s 6s 7s 8s 1m 2m 3m 4m
)";

constexpr int Transactions = 24;
constexpr int Rounds = 5;

} // namespace

int main(int argc, char** argv) {
    EditorBench bench(argc, argv, Installation);
    TF_Decoder* editor = bench.Go(6758);
    if (!editor)
        return 1;
    auto* last = editor->findChild<QLineEdit*>(QStringLiteral("Edit32"));
    std::vector<double> saves;
    for (int r = 0; r < Rounds; ++r) {
        // The decoder answers only while it is programming: a read-out first, times included.
        bench.Sim().PressButton("sensors");
        if (!EditorBench::Wait([&] { return last->text().isEmpty(); }) ||
            !EditorBench::Wait([&] { return !last->text().isEmpty(); })) {
            std::fprintf(stderr, "read-out %d did not complete\n", r);
            return 1;
        }
        const double save = bench.Save(editor, QStringLiteral("F_Mensa05"));
        if (save < 0) {
            std::fprintf(stderr, "save %d was not acknowledged in full\n", r);
            return 1;
        }
        saves.push_back(save);
    }
    const double limit = Transactions * 2 * Frame_ms;
    std::printf("save_6758_ratio: %.3f x\n", Median(saves) / limit);
    std::printf("save_6758_line_limit: %.0f ms\n", limit);
    std::printf("save_6758_median: %.1f ms\n", Median(saves));
    std::fflush(stdout);
    return 0;
}
