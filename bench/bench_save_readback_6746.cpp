// The eight-output call decoder's Save with its read-back, at the line's rate: from the click
// on Save to the program's acknowledgement of the read-back's identification frame, against
// the time the frames of both take on the line (each write and its reply, the programming
// request written twice, the read-out's nine frames and their acknowledgements).
//
// The program's frames reach the simulator at once, and it answers each as if it had arrived
// four byte times later, as in bench_outputs_6746.

#include "EditorBench.h"

#include <QLabel>
#include <QLineEdit>

#include <cstdio>

namespace {

const char* Installation = R"(
[eight]
model = 6746
serves = 1001
codes = 1001 1002 1003 1004 1005 1006 1007 1008
)";

constexpr int Rounds = 5;

using kalvex::sim::Direction;

size_t FromProgram(EditorBench& bench) {
    const auto log = bench.Sim().Log();
    return size_t(std::count_if(log.begin(), log.end(), [](const kalvex::sim::LogEntry& e) {
        return e.direction == Direction::FromProgram;
    }));
}

} // namespace

int main(int argc, char** argv) {
    EditorBench bench(argc, argv, Installation, /*read_back=*/true);
    TF_Decoder* editor = bench.Go(6746);
    if (!editor)
        return 1;
    auto* state = editor->findChild<QLabel*>(QStringLiteral("Estado_Editor"));
    std::vector<double> ratios, totals;
    double line_ms = 0;
    for (int r = 0; r < Rounds; ++r) {
        // A read-out first, as on site: the decoder takes writes while it is programming.
        bench.Sim().ClearLog();
        bench.Sim().PressButton("eight");
        if (!EditorBench::Wait([&] { return FromProgram(bench) == 9; })) {
            std::fprintf(stderr, "read-out %d did not complete\n", r);
            return 1;
        }
        EditorBench::Idle(300);
        bench.Sim().ClearLog();
        const auto clicked = kalvex::sim::Clock::now();
        if (bench.Save(editor, QStringLiteral("F_Mensa05")) < 0) {
            std::fprintf(stderr, "save %d was not acknowledged in full\n", r);
            return 1;
        }
        if (!EditorBench::Wait(
                [&] { return state->text().startsWith(QStringLiteral("Saved and read back")); })) {
            std::fprintf(stderr, "save %d was not read back: %s\n", r, qPrintable(state->text()));
            for (const auto& e : bench.Sim().Log())
                std::fprintf(stderr, "%s %s\n", e.direction == Direction::FromProgram ? "<-" : "->",
                             kalvex::sim::ToHex(e.frame).c_str());
            return 1;
        }
        const auto log = bench.Sim().Log();
        // The last acknowledgement of the read-back, whatever came after the 300 ms of Save.
        auto last = std::find_if(log.rbegin(), log.rend(), [](const kalvex::sim::LogEntry& e) {
            return e.direction == Direction::FromProgram && e.frame[0] == 0x20 &&
                   e.frame[1] == 0x40;
        });
        if (last == log.rend()) {
            std::fprintf(stderr, "save %d: no read-back on the line\n", r);
            return 1;
        }
        const double total =
            std::chrono::duration<double, std::milli>(last->at - clicked).count() + Frame_ms;
        line_ms = double(log.size()) * Frame_ms;
        totals.push_back(total);
        ratios.push_back(total / line_ms);
    }
    std::printf("save_readback_8_outputs_ratio: %.3f x\n", Median(ratios));
    std::printf("save_readback_8_outputs_median: %.1f ms\n", Median(totals));
    std::printf("save_readback_8_outputs_line_limit: %.0f ms\n", line_ms);
    std::fflush(stdout);
    return 0;
}
