// The simulator's installation files. Any text gives an installation or an InstallationError
// whose message is "file:line: what" with a line of the text; an installation written out by
// FormatInstallation parses back to the same decoders.

#include "FuzzCheck.h"
#include "SimInstallation.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>

using kalvex::fuzz::Check;
using namespace kalvex::sim;

namespace {

const std::string kFile = "fuzz.ini";

// Lines as std::getline sees them.
size_t LineCount(const std::string& text) {
    const size_t breaks = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    return breaks + (text.empty() || text.back() == '\n' ? 0 : 1);
}

void CheckMessage(const std::string& message, const std::string& text) {
    Check(message.rfind(kFile + ":", 0) == 0, "the message starts with the file name");
    size_t pos = kFile.size() + 1;
    size_t digits = 0;
    while (pos + digits < message.size() &&
           std::isdigit(static_cast<unsigned char>(message[pos + digits])))
        ++digits;
    Check(digits > 0 && digits < 10, "a line number follows the file name");
    const size_t line = std::stoul(message.substr(pos, digits));
    Check(line <= LineCount(text), "the line number is a line of the text");
    Check(line > 0 || LineCount(text) == 0, "line 0 only for an empty text");
    pos += digits;
    Check(message.compare(pos, 2, ": ") == 0 && message.size() > pos + 2,
          "the fault is named after the line number");
}

void CheckSame(const Installation& a, const Installation& b) {
    Check(a.decoders.size() == b.decoders.size(), "formatting keeps every decoder");
    for (size_t i = 0; i < a.decoders.size(); ++i) {
        const Decoder& x = a.decoders[i];
        const Decoder& y = b.decoders[i];
        Check(x.name == y.name, "formatting keeps the names");
        Check(x.model == y.model, "formatting keeps the models");
        Check(x.serves == y.serves, "formatting keeps the device codes served");
        Check(x.memory == y.memory, "formatting keeps the memory");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Installation inst;
    try {
        inst = ParseInstallation(text, kFile);
    } catch (const InstallationError& e) {
        CheckMessage(e.what(), text);
        return 0;
    }
    Check(!inst.decoders.empty(), "an installation has decoders");
    for (const Decoder& d : inst.decoders) {
        Check(d.model != nullptr, "every decoder has a model");
        Check(!d.name.empty(), "every decoder has a name");
    }
    const std::string formatted = FormatInstallation(inst);
    try {
        CheckSame(inst, ParseInstallation(formatted, "formatted"));
    } catch (const InstallationError&) {
        Check(false, "a formatted installation parses");
    }
    return 0;
}
