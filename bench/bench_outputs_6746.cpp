// The eight-output call decoder at the line's rate: a read-out (eight data frames and the
// identification frame, each acknowledged by the program) and a Save of its eight outputs,
// each against the time its frames take on the line.
//
// The program's frames reach the simulator at once, and it answers each as if it had arrived
// four byte times later; so a read-out's line time is its 18 frames, and a Save's is two
// frames per request.

#include "EditorBench.h"

#include <QLineEdit>

#include <cstdio>

namespace {

const char* Installation = R"(
[eight]
model = 6746
codes = 1001 1002 1003 1004 1005 1006 1007 1008
)";

constexpr int Rounds = 5;
constexpr int ReadOutFrames = 2 * 9;

using kalvex::sim::Direction;

// Frames the program sent since the log was cleared.
size_t Requests(EditorBench& bench) {
    const auto log = bench.Sim().Log();
    return size_t(std::count_if(log.begin(), log.end(), [](const kalvex::sim::LogEntry& e) {
        return e.direction == Direction::FromProgram;
    }));
}

// Milliseconds from the press of the decoder's button to the arrival of the program's last
// acknowledgement on the line; -1 when the read-out did not complete.
double ReadOut(EditorBench& bench, TF_Decoder* editor) {
    auto* last = editor->findChild<QLineEdit*>(QStringLiteral("Edit16"));
    last->clear();
    bench.Sim().ClearLog();
    const auto pressed = kalvex::sim::Clock::now();
    bench.Sim().PressButton("eight");
    if (!EditorBench::Wait([&] { return Requests(bench) == 9; }) || last->text().isEmpty())
        return -1;
    const auto acknowledged = bench.Sim().Log().back().at;
    return std::chrono::duration<double, std::milli>(acknowledged - pressed).count() + Frame_ms;
}

} // namespace

int main(int argc, char** argv) {
    EditorBench bench(argc, argv, Installation);
    TF_Decoder* editor = bench.Go(6746);
    if (!editor)
        return 1;
    std::vector<double> readouts, saves;
    size_t requests = 0;
    for (int r = 0; r < Rounds; ++r) {
        // The decoder answers a Save only while it is programming: each Save follows a read-out.
        const double readout = ReadOut(bench, editor);
        if (readout < 0) {
            std::fprintf(stderr, "read-out %d did not complete\n", r);
            return 1;
        }
        readouts.push_back(readout);
        bench.Sim().ClearLog();
        const double save = bench.Save(editor, QStringLiteral("F_Mensa05"));
        if (save < 0) {
            std::fprintf(stderr, "save %d was not acknowledged in full\n", r);
            return 1;
        }
        saves.push_back(save);
        requests = Requests(bench);
    }
    const double readout_limit = ReadOutFrames * Frame_ms;
    const double save_limit = double(requests) * 2 * Frame_ms;
    std::printf("readout_8_outputs_ratio: %.3f x\n", Median(readouts) / readout_limit);
    std::printf("readout_8_outputs_median: %.1f ms\n", Median(readouts));
    std::printf("readout_8_outputs_line_limit: %.0f ms\n", readout_limit);
    std::printf("save_8_outputs_ratio: %.3f x\n", Median(saves) / save_limit);
    std::printf("save_8_outputs_median: %.1f ms\n", Median(saves));
    std::printf("save_8_outputs_line_limit: %.0f ms\n", save_limit);
    std::fflush(stdout);
    return 0;
}
