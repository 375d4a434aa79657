#include "SimControl.h"

#include "BusSimulator.h"

#include <sstream>
#include <vector>

namespace kalvex::sim {

namespace {

const char* Help =
    "press <decoder>            press the decoder's programming button\n"
    "announce                   the digitizer announces itself\n"
    "dump <decoder>             show the decoder's memory\n"
    "list                       show the decoders\n"
    "save [<file>]              write the installation back (to its own file by default)\n"
    "fault <kind> on [<decoder>|all] [reg=<hex>] [times=<n>]\n"
    "fault <kind> off [<decoder>|all]   kinds: silent status late split stray noise deaf\n"
    "fault clear                switch every fault off\n"
    "pacing on|off              send at the line's rate (1.25 ms a byte)\n"
    "quit\n";

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

bool OnOff(const std::string& word) {
    if (word != "on" && word != "off")
        throw UsageError("expected on or off, not '" + word + "'");
    return word == "on";
}

int Number(const std::string& text, int base, int min, int max, const std::string& what) {
    size_t used = 0;
    int value = min - 1;
    try {
        value = std::stoi(text, &used, base);
    } catch (const std::exception&) {
    }
    if (used != text.size() || value < min || value > max)
        throw UsageError("bad " + what + " '" + text + "'");
    return value;
}

std::string Fault(BusSimulator& sim, const std::vector<std::string>& w) {
    if (w.size() == 2 && w[1] == "clear") {
        sim.ClearFaults();
        return "ok: every fault off\n";
    }
    if (w.size() < 3)
        throw UsageError("usage: fault <kind> on|off [<decoder>|all] ...");
    auto kind = FaultFromName(w[1]);
    if (!kind)
        throw UsageError("unknown fault '" + w[1] +
                         "' (silent status late split stray noise deaf)");
    const bool on = OnOff(w[2]);
    struct Fault f {
        *kind
    };
    size_t next = 3;
    if (next < w.size() && w[next].find('=') == std::string::npos) {
        if (w[next] != "all")
            f.decoder = sim.FindDecoder(w[next]);
        ++next;
    }
    for (; next < w.size(); ++next) {
        const std::string& option = w[next];
        if (on && option.rfind("reg=", 0) == 0)
            f.reg = Number(option.substr(4), 16, 0, 255, "register");
        else if (on && option.rfind("times=", 0) == 0)
            f.times = Number(option.substr(6), 10, 1, 1000000, "count");
        else
            throw UsageError("unexpected '" + option + "'");
    }
    if (on)
        sim.SetFault(f);
    else
        sim.ClearFault(f.kind, f.decoder);
    const std::string target = f.decoder == AnyDecoder ? "all" : sim.DecoderName(f.decoder);
    return "ok: " + w[1] + " " + w[2] + " for " + target + "\n";
}

std::string List(const BusSimulator& sim) {
    std::string out;
    for (int i = 0; i < sim.DecoderCount(); ++i)
        out += std::to_string(i) + " " + sim.DecoderName(i) + " " +
               std::to_string(sim.DecoderModel(i)) + (sim.InProgramming(i) ? " programming" : "") +
               "\n";
    return out;
}

ControlReply Run(BusSimulator& sim, const std::vector<std::string>& w) {
    const std::string& c = w[0];
    const size_t n = w.size();
    if (c == "quit" && n == 1)
        return {"ok: bye\n", true};
    if (c == "help" && n == 1)
        return {Help};
    if (c == "list" && n == 1)
        return {List(sim)};
    if (c == "press" && n == 2) {
        sim.PressButton(w[1]);
        return {"ok: " + sim.DecoderName(sim.FindDecoder(w[1])) + " button pressed\n"};
    }
    if (c == "announce" && n == 1) {
        sim.AnnounceDigitizer();
        return {"ok: digitizer announced\n"};
    }
    if (c == "dump" && n == 2)
        return {sim.Dump(sim.FindDecoder(w[1]))};
    if (c == "save" && n <= 2) {
        if (n == 1)
            sim.Save();
        else
            sim.SaveTo(w[1]);
        return {"ok: saved\n"};
    }
    if (c == "fault")
        return {Fault(sim, w)};
    if (c == "pacing" && n == 2) {
        sim.SetPacing(OnOff(w[1]));
        return {"ok: pacing " + w[1] + "\n"};
    }
    throw UsageError("unknown command '" + c + "' (help lists them)");
}

} // namespace

ControlReply RunControlCommand(BusSimulator& sim, const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    if (words.empty())
        return {};
    try {
        return Run(sim, words);
    } catch (const std::exception& e) {
        return {std::string("error: ") + e.what() + "\n"};
    }
}

} // namespace kalvex::sim
