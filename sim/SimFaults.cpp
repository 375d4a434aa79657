#include "SimFaults.h"

#include <algorithm>

namespace kalvex::sim {

namespace {
const std::pair<FaultKind, const char*> Names[] = {
    {FaultKind::Silent, "silent"}, {FaultKind::WrongStatus, "status"}, {FaultKind::Late, "late"},
    {FaultKind::Split, "split"},   {FaultKind::Stray, "stray"},        {FaultKind::Noise, "noise"},
    {FaultKind::Deaf, "deaf"},
};
} // namespace

const char* FaultName(FaultKind k) {
    for (auto [kind, name] : Names)
        if (kind == k)
            return name;
    return "?";
}

std::optional<FaultKind> FaultFromName(const std::string& name) {
    for (auto [kind, text] : Names)
        if (name == text)
            return kind;
    return std::nullopt;
}

void Faults::Set(const Fault& fault) {
    Fault f = fault;
    if (f.kind == FaultKind::Noise) {
        f.decoder = AnyDecoder; // noise belongs to the line, not to a decoder
        f.reg = -1;
    }
    std::erase_if(faults_, [&](const Fault& g) {
        return g.kind == f.kind && g.decoder == f.decoder && g.reg == f.reg;
    });
    faults_.push_back(f);
}

void Faults::Clear(FaultKind kind, int decoder) {
    std::erase_if(faults_, [&](const Fault& f) {
        return f.kind == kind && (decoder == AnyDecoder || f.decoder == decoder);
    });
}

bool Faults::Take(FaultKind kind, int decoder, uint8_t reg) {
    auto it = std::find_if(faults_.begin(), faults_.end(), [&](const Fault& f) {
        return f.kind == kind && (f.decoder == AnyDecoder || f.decoder == decoder) &&
               (f.reg < 0 || f.reg == reg);
    });
    if (it == faults_.end())
        return false;
    if (it->times > 0 && --it->times == 0)
        faults_.erase(it);
    return true;
}

std::vector<Chunk> Faults::Shape(const Emission& e) {
    Frame frame = e.frame;
    std::vector<uint8_t> bytes(frame.begin(), frame.end());
    Clock::duration delay = e.delay;
    if (!e.reply)
        return {{delay, bytes, frame}};
    const uint8_t reg = e.requestRegister;
    if (Take(FaultKind::Silent, e.decoder, reg))
        return {};
    if (Take(FaultKind::WrongStatus, e.decoder, reg))
        bytes[0] = frame[0] = WrongStatusByte;
    if (Take(FaultKind::Late, e.decoder, reg))
        delay += LateDelay;
    if (Take(FaultKind::Stray, e.decoder, reg))
        bytes.insert(bytes.begin(), StrayByte);
    if (!Take(FaultKind::Split, e.decoder, reg))
        return {{delay, bytes, frame}};
    std::vector<Chunk> pieces;
    for (size_t i = 0; i < bytes.size(); ++i)
        pieces.push_back({delay + SplitGap * int(i), {bytes[i]}, std::nullopt});
    pieces.back().frame = frame;
    return pieces;
}

bool Faults::NoiseOn() const {
    return std::any_of(faults_.begin(), faults_.end(),
                       [](const Fault& f) { return f.kind == FaultKind::Noise; });
}

std::vector<uint8_t> Faults::NoiseBurst() {
    if (!Take(FaultKind::Noise, AnyDecoder, 0))
        return {};
    std::vector<uint8_t> burst(std::uniform_int_distribution<size_t>(1, 3)(random_));
    for (auto& b : burst)
        b = uint8_t(std::uniform_int_distribution<int>(0, 255)(random_));
    return burst;
}

Clock::duration Faults::NoiseGap() {
    return std::chrono::milliseconds(std::uniform_int_distribution<int>(20, 200)(random_));
}

} // namespace kalvex::sim
