#include "SimInstallation.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace kalvex::sim {

namespace {

// How one value of a key is written in the file.
enum class Kind {
    Word,       // 4 hexadecimal digits, or "-" for the model's value of "nothing set"
    Flag,       // yes (0xFFFF), no (0x0000) or 4 hexadecimal digits
    SensorTime, // count 0..127 with s or m (bit 7 = minutes), or "-" (0xFF)
    Number,     // decimal byte up to a maximum
    State,      // on (1), off (0) or a decimal byte
    HexByte,    // 2 hexadecimal digits
};

constexpr unsigned Bit(Family f) {
    return 1u << static_cast<unsigned>(f);
}

struct Field {
    const char* key;
    unsigned families;
    int count; // values on the line; 0 = one per output of the model
    Kind kind;
    uint8_t reg;   // first register; values follow two registers apart
    uint16_t none; // Word: what "-" stands for
    uint16_t initial;
    int max = 255; // Number only
};

constexpr unsigned CodeFamilies =
    Bit(Family::Call) | Bit(Family::Panel) | Bit(Family::Sensors) | Bit(Family::Relays);

const Field Fields[] = {
    {"codes", CodeFamilies, 0, Kind::Word, 0x00, 0xFFFF, 0xFFFF},
    {"times", Bit(Family::Sensors), 0, Kind::SensorTime, SettingsBase, 0, 0xFF},
    {"times", Bit(Family::Relays), 0, Kind::Number, SettingsBase, 0, 0},
    {"states", Bit(Family::Relays), 0, Kind::State, SettingsBase + 1, 0, 0},
    {"start", Bit(Family::Torvik), 1, Kind::Word, 0x00, 0xFFFF, 0xFFFF},
    {"end", Bit(Family::Torvik), 1, Kind::Word, 0x02, 0xFFFF, 0xFFFF},
    {"entrance", Bit(Family::Torvik), 1, Kind::Flag, 0x04, 0, 0xFFFF},
    {"address", Bit(Family::Converter), 1, Kind::Word, 0x00, 0x8F00, 0x8F00},
    {"panel", Bit(Family::Digitizer), 1, Kind::Number, 0x21, 0, 0, 15},
    {"block", Bit(Family::Digitizer), 1, Kind::HexByte, 0x22, 0, 0x00},
    {"opening", Bit(Family::Digitizer), 1, Kind::Number, 0x23, 0, 0},
    {"minimum", Bit(Family::Digitizer), 1, Kind::Number, 0x24, 0, 1},
};

const std::pair<Quirk, const char*> QuirkNames[] = {
    {Quirk::None, "none"},
    {Quirk::IgnoresRequests, "ignores-requests"},
    {Quirk::NoReadOut, "no-read-out"},
    {Quirk::StopsHalfway, "stops-halfway"},
    {Quirk::Noisy, "noisy"},
};

bool IsWordKind(Kind k) {
    return k == Kind::Word || k == Kind::Flag;
}

int Count(const Field& f, const Model& m) {
    return f.count ? f.count : m.outputs;
}

uint8_t Reg(const Field& f, int i) {
    return uint8_t(f.reg + 2 * i);
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string Trim(const std::string& s) {
    auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::optional<unsigned> Hex(const std::string& t, size_t digits) {
    if (t.size() != digits ||
        !std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isxdigit(c); }))
        return std::nullopt;
    return unsigned(std::stoul(t, nullptr, 16));
}

std::optional<unsigned> Decimal(const std::string& t, unsigned max) {
    if (t.empty() || t.size() > 4 ||
        !std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    unsigned v = unsigned(std::stoul(t));
    return v <= max ? std::optional(v) : std::nullopt;
}

std::optional<unsigned> ParseValue(const Field& f, const std::string& token) {
    const std::string t = Lower(token);
    switch (f.kind) {
    case Kind::Word:
        return t == "-" ? std::optional<unsigned>(f.none) : Hex(t, 4);
    case Kind::Flag:
        if (t == "yes")
            return 0xFFFF;
        if (t == "no")
            return 0x0000;
        return Hex(t, 4);
    case Kind::SensorTime: {
        if (t == "-")
            return 0xFF;
        if (t.size() < 2 || (t.back() != 's' && t.back() != 'm'))
            return std::nullopt;
        auto count = Decimal(t.substr(0, t.size() - 1), 127);
        if (!count)
            return std::nullopt;
        return *count | (t.back() == 'm' ? 0x80u : 0u);
    }
    case Kind::Number:
        return Decimal(t, unsigned(f.max));
    case Kind::State:
        if (t == "on")
            return 1;
        if (t == "off")
            return 0;
        return Decimal(t, 255);
    case Kind::HexByte:
        return Hex(t, 2);
    }
    return std::nullopt;
}

std::string Expected(const Field& f) {
    switch (f.kind) {
    case Kind::Word:
        return "4 hexadecimal digits or -";
    case Kind::Flag:
        return "yes, no or 4 hexadecimal digits";
    case Kind::SensorTime:
        return "a count 0 to 127 followed by s or m, or -";
    case Kind::Number:
        return "a number 0 to " + std::to_string(f.max);
    case Kind::State:
        return "on, off or a number 0 to 255";
    case Kind::HexByte:
        return "2 hexadecimal digits";
    }
    return {};
}

std::string FormatValue(const Field& f, unsigned v) {
    char text[12];
    switch (f.kind) {
    case Kind::Word:
        if (v == f.none)
            return "-";
        std::snprintf(text, sizeof text, "%04X", v);
        return text;
    case Kind::Flag:
        if (v == 0xFFFF || v == 0)
            return v ? "yes" : "no";
        std::snprintf(text, sizeof text, "%04X", v);
        return text;
    case Kind::SensorTime:
        if (v == 0xFF)
            return "-";
        return std::to_string(v & 0x7F) + (v & 0x80 ? "m" : "s");
    case Kind::State:
        if (v <= 1)
            return v ? "on" : "off";
        return std::to_string(v);
    case Kind::Number:
        return std::to_string(v);
    case Kind::HexByte:
        std::snprintf(text, sizeof text, "%02X", v);
        return text;
    }
    return {};
}

std::vector<std::string> Tokens(const std::string& value) {
    std::istringstream in(value);
    std::vector<std::string> tokens;
    for (std::string t; in >> t;)
        tokens.push_back(t);
    return tokens;
}

const Field* FindField(const std::string& key, Family family) {
    for (const Field& f : Fields)
        if (key == f.key && (f.families & Bit(family)))
            return &f;
    return nullptr;
}

struct Entry {
    int line;
    std::string value;
};

struct Section {
    std::string name;
    int line;
    std::map<std::string, Entry> keys;
};

class Parser {
public:
    explicit Parser(const std::string& fileName) : file_(fileName) {}

    [[noreturn]] void Fail(int line, const std::string& what) const {
        throw InstallationError(file_ + ":" + std::to_string(line) + ": " + what);
    }

    Decoder Build(const Section& s) const {
        auto model = s.keys.find("model");
        if (model == s.keys.end())
            Fail(s.line, "decoder [" + s.name + "] has no model");
        auto reference = Decimal(model->second.value, 9999);
        const Model* m = reference ? FindModel(int(*reference)) : nullptr;
        if (!m)
            Fail(model->second.line, "unknown model '" + model->second.value +
                                         "' (expected one of 6713 6721 6722 6734 6745 6746 "
                                         "6747 6758 6759 6763 6775 6786)");
        Decoder d;
        d.name = s.name;
        d.model = m;
        for (const Field& f : Fields)
            if (f.families & Bit(m->family))
                for (int i = 0; i < Count(f, *m); ++i)
                    Store(d, f, i, f.initial);
        for (const auto& [key, entry] : s.keys) {
            if (key == "model")
                continue;
            if (key == "serves" && m->family != Family::Digitizer)
                d.serves = Codes(entry);
            else if (key == "quirk" && m->family != Family::Digitizer)
                d.quirk = QuirkOf(entry);
            else if (const Field* f = FindField(key, m->family))
                Values(d, *f, entry);
            else
                Fail(entry.line,
                     "key '" + key + "' does not belong to a " + std::to_string(m->reference));
        }
        return d;
    }

private:
    static void Store(Decoder& d, const Field& f, int i, unsigned v) {
        if (IsWordKind(f.kind))
            d.SetWord(Reg(f, i), uint16_t(v));
        else
            d.memory[Reg(f, i)] = uint8_t(v);
    }

    void Values(Decoder& d, const Field& f, const Entry& e) const {
        auto tokens = Tokens(e.value);
        const int want = Count(f, *d.model);
        if (int(tokens.size()) != want)
            Fail(e.line, std::string(f.key) + ": " + std::to_string(want) + " value" +
                             (want > 1 ? "s" : "") + " expected, found " +
                             std::to_string(tokens.size()));
        for (int i = 0; i < want; ++i) {
            auto v = ParseValue(f, tokens[size_t(i)]);
            if (!v)
                Fail(e.line,
                     std::string(f.key) + ": '" + tokens[size_t(i)] + "' is not " + Expected(f));
            Store(d, f, i, *v);
        }
    }

    std::vector<uint16_t> Codes(const Entry& e) const {
        std::vector<uint16_t> codes;
        for (const auto& t : Tokens(e.value)) {
            auto code = Hex(t, 4);
            if (!code)
                Fail(e.line, "serves: '" + t +
                                 "' is not a device code of 4 characters "
                                 "(1234, D123, A123, B123)");
            codes.push_back(uint16_t(*code));
        }
        return codes;
    }

    Quirk QuirkOf(const Entry& e) const {
        for (const auto& [quirk, name] : QuirkNames)
            if (Lower(e.value) == name)
                return quirk;
        Fail(e.line, "quirk: '" + e.value +
                         "' is not none, ignores-requests, no-read-out, stops-halfway or noisy");
    }

    std::string file_;
};

} // namespace

Installation ParseInstallation(const std::string& text, const std::string& fileName) {
    Parser parser(fileName);
    std::vector<Section> sections;
    std::istringstream in(text);
    int number = 0;
    for (std::string raw; std::getline(in, raw);) {
        ++number;
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;
        if (line[0] == '[') {
            const std::string name =
                line.back() == ']' ? Trim(line.substr(1, line.size() - 2)) : "";
            if (name.empty())
                parser.Fail(number, "a section line is [name]");
            for (const Section& s : sections)
                if (s.name == name)
                    parser.Fail(number, "decoder [" + name + "] is already listed at line " +
                                            std::to_string(s.line));
            sections.push_back({name, number, {}});
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos || Trim(line.substr(0, eq)).empty())
            parser.Fail(number, "expected [name] or key = value");
        if (sections.empty())
            parser.Fail(number, "key before the first [decoder] section");
        const std::string key = Lower(Trim(line.substr(0, eq)));
        auto& keys = sections.back().keys;
        if (keys.count(key))
            parser.Fail(number, "key '" + key + "' given twice for [" + sections.back().name +
                                    "] (first at line " + std::to_string(keys[key].line) + ")");
        keys[key] = {number, Trim(line.substr(eq + 1))};
    }
    if (sections.empty())
        parser.Fail(number, "no decoder listed");
    Installation inst;
    for (const Section& s : sections)
        inst.decoders.push_back(parser.Build(s));
    return inst;
}

Installation LoadInstallation(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw InstallationError(path + ": cannot be read");
    std::stringstream text;
    text << in.rdbuf();
    Installation inst = ParseInstallation(text.str(), path);
    inst.path = path;
    return inst;
}

std::string FormatDecoder(const Decoder& d) {
    const Model& m = *d.model;
    std::string out = "[" + d.name + "]\nmodel = " + std::to_string(m.reference) + "\n";
    if (m.family != Family::Digitizer) {
        out += "serves =";
        char code[12];
        for (uint16_t c : d.serves) {
            std::snprintf(code, sizeof code, " %04X", c);
            out += code;
        }
        out += "\n";
    }
    if (d.quirk != Quirk::None)
        for (const auto& [quirk, name] : QuirkNames)
            if (quirk == d.quirk)
                out += std::string("quirk = ") + name + "\n";
    for (const Field& f : Fields) {
        if (!(f.families & Bit(m.family)))
            continue;
        out += std::string(f.key) + " =";
        for (int i = 0; i < Count(f, m); ++i)
            out +=
                " " + FormatValue(f, IsWordKind(f.kind) ? d.Word(Reg(f, i)) : d.memory[Reg(f, i)]);
        out += "\n";
    }
    return out;
}

std::string FormatInstallation(const Installation& inst) {
    std::string out = "# Kalvex simulated installation\n";
    for (const Decoder& d : inst.decoders)
        out += "\n" + FormatDecoder(d);
    return out;
}

void SaveInstallation(const Installation& inst, const std::string& path) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << FormatInstallation(inst);
        out.flush();
        if (!out)
            throw InstallationError(temporary + ": cannot be written");
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error)
        throw InstallationError(path + ": cannot be replaced (" + error.message() + ")");
}

} // namespace kalvex::sim
