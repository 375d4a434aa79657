#include "SimDecoder.h"

#include <algorithm>

namespace kalvex::sim {

namespace {
constexpr uint8_t Accepted = 0x20;
constexpr uint8_t PanelRegister = 0x21;
constexpr uint8_t BlockRegister = 0x22;
constexpr uint8_t LastDigitizerRegister = 0x24;

uint8_t Panel(const Decoder& d) {
    return d.memory[PanelRegister];
}
uint8_t Block(const Decoder& d) {
    return d.memory[BlockRegister];
}

std::optional<Frame> DigitizerAnswer(Decoder& d, const Frame& r) {
    const uint8_t command = r[0] & 0xF0, unit = r[0] & 0x0F, reg = r[1];
    if ((command != 0x60 && command != 0xD0) || unit != Panel(d) || r[3] != Block(d) ||
        reg < PanelRegister || reg > LastDigitizerRegister)
        return std::nullopt;
    if (command == 0x60)
        return Frame{uint8_t(Accepted | unit), d.memory[reg], r[2], r[3]};
    const uint8_t value = r[2];
    if (reg == PanelRegister) {
        if (value > 0x0F)
            return std::nullopt; // a panel number must fit b0's low nibble
        d.memory[reg] = value;
        // It answers at its new address already.
        return Frame{uint8_t(Accepted | value), reg, value, r[3]};
    }
    d.memory[reg] = value;
    return Frame{uint8_t(Accepted | unit), reg, value, r[3]};
}

bool IsWordRegister(const Model& m, uint8_t reg) {
    auto regs = WordRegisters(m);
    return std::find(regs.begin(), regs.end(), reg) != regs.end();
}

bool HasSettings(const Model& m) {
    return m.family == Family::Sensors || m.family == Family::Relays;
}

std::optional<Frame> Read(const Decoder& d, const Frame& r) {
    const Model& m = *d.model;
    const uint8_t reg = r[1];
    const uint8_t word = reg & 0xFE;
    if (!IsWordRegister(m, word))
        return std::nullopt;
    // A time or state is only given to a request that names the output by its code.
    if (HasSettings(m) && word >= SettingsBase &&
        DataWord(r) != d.Word(uint8_t(word - SettingsBase)))
        return std::nullopt;
    return Frame{Accepted, d.memory[reg], r[2], r[3]};
}

std::optional<Frame> Write(Decoder& d, const Frame& r) {
    if (!IsWordRegister(*d.model, r[1]))
        return std::nullopt;
    d.SetWord(r[1], DataWord(r));
    return Frame{Accepted, r[1], r[2], r[3]};
}

std::optional<Frame> Arm(const Decoder& d, const Frame& r) {
    if (d.model->family != Family::Sensors || r[1] != 0x01)
        return std::nullopt;
    for (uint8_t reg : ReadOutRegisters(*d.model))
        if (d.Word(reg) == DataWord(r) && DataWord(r) != 0xFFFF)
            return Frame{Accepted, r[1], r[2], r[3]};
    return std::nullopt;
}
} // namespace

std::optional<Frame> AnswerRequest(Decoder& d, const Frame& request) {
    if (d.model->family == Family::Digitizer)
        return DigitizerAnswer(d, request);
    switch (request[0]) {
    case 0x60:
        return Read(d, request);
    case 0xB0:
        return Write(d, request);
    case 0x80:
        return Arm(d, request);
    default:
        return std::nullopt;
    }
}

std::vector<Frame> ReadOutFrames(const Decoder& d) {
    std::vector<Frame> frames;
    uint8_t index = 0;
    for (uint8_t reg : ReadOutRegisters(*d.model)) {
        const uint16_t w = d.Word(reg);
        frames.push_back({0x00, index++, uint8_t(w), uint8_t(w >> 8)});
    }
    frames.push_back({0x40, d.model->id, 0xFF, 0xFF});
    return frames;
}

Frame Announcement(const Decoder& d) {
    return {uint8_t(0x50 | Panel(d)), 0xFF, 0xFF, Block(d)};
}

bool Serves(const Decoder& d, uint16_t code) {
    return std::find(d.serves.begin(), d.serves.end(), code) != d.serves.end();
}

} // namespace kalvex::sim
