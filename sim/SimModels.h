#pragma once
// The twelve decoder models: what identifies them on the line and where their memory lies.

#include "SimFrame.h"

#include <cstdint>
#include <vector>

namespace kalvex::sim {

enum class Family {
    Call,      // 4 or 8 call codes (6713 6721 6745 6747, 6722 6746)
    Panel,     // 4 panel codes Dnnn (6763)
    Sensors,   // 8 codes Annn with a time byte each (6758)
    Relays,    // 8 codes Bnnn with a time and a state byte each (6759)
    Torvik,    // start and end address, entrance flag (6734)
    Converter, // one bus address (6786)
    Digitizer, // panel/block addressed unit (6775)
};

struct Model {
    int reference;
    Family family;
    uint8_t id;    // identification byte; the digitizer has none
    int outputs;   // data frames of a read-out
    Frame closing; // the frame that ends its programming mode
};

// nullptr for a reference that is not one of the twelve.
const Model* FindModel(int reference);

// Settings registers of the sensors and relays decoders: output n at 0x20 + 2(n-1) and the byte
// after it. They are read with the output's code word in the request.
constexpr uint8_t SettingsBase = 0x20;

// Even addresses of the 16-bit words a 0xB0 write may store, in read-out order first.
std::vector<uint8_t> WordRegisters(const Model& m);
// Words sent as the data frames of a read-out, in order.
std::vector<uint8_t> ReadOutRegisters(const Model& m);

} // namespace kalvex::sim
