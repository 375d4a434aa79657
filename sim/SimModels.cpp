#include "SimModels.h"

#include <algorithm>
#include <array>

namespace kalvex::sim {

namespace {
constexpr Frame ClosingCall{0x50, 0x20, 0xFF, 0x9F};

const std::array<Model, 12> Models{{
    {6713, Family::Call, 0x44, 4, ClosingCall},
    {6721, Family::Call, 0x34, 4, ClosingCall},
    {6722, Family::Call, 0x38, 8, ClosingCall},
    {6734, Family::Torvik, 0x44, 4, ClosingCall},
    {6745, Family::Call, 0x44, 4, ClosingCall},
    {6746, Family::Call, 0x48, 8, ClosingCall},
    {6747, Family::Call, 0x54, 4, ClosingCall},
    {6758, Family::Sensors, 0x18, 8, {0x50, 0x20, 0xFF, 0xAF}},
    {6759, Family::Relays, 0x28, 8, {0x50, 0x20, 0xFF, 0xBF}},
    {6763, Family::Panel, 0x64, 4, {0x50, 0x20, 0xFF, 0xDF}},
    {6775, Family::Digitizer, 0x00, 0, {0xC0, 0x01, 0xFF, 0x9F}},
    {6786, Family::Converter, 0x31, 1, {0x50, 0x20, 0xFF, 0xFF}},
}};

std::vector<uint8_t> Words(uint8_t base, int count) {
    std::vector<uint8_t> regs;
    for (int i = 0; i < count; ++i)
        regs.push_back(uint8_t(base + 2 * i));
    return regs;
}
} // namespace

const Model* FindModel(int reference) {
    auto it = std::find_if(Models.begin(), Models.end(),
                           [reference](const Model& m) { return m.reference == reference; });
    return it == Models.end() ? nullptr : &*it;
}

std::vector<uint8_t> ReadOutRegisters(const Model& m) {
    return Words(0x00, m.outputs);
}

std::vector<uint8_t> WordRegisters(const Model& m) {
    switch (m.family) {
    case Family::Sensors:
    case Family::Relays: {
        auto regs = Words(0x00, m.outputs);
        auto settings = Words(SettingsBase, m.outputs);
        regs.insert(regs.end(), settings.begin(), settings.end());
        return regs;
    }
    case Family::Digitizer:
        return {}; // written byte by byte with 0xDn
    default:
        return Words(0x00, m.outputs);
    }
}

} // namespace kalvex::sim
