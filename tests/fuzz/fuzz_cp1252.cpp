// Windows-1252 conversion. Any bytes decode to as many characters and encode back to the same
// bytes; any UTF-16 text encodes to one byte per unit, each character the code page holds
// coming back unchanged and every other one becoming '?'.

#include "Cp1252.h"
#include "FuzzCheck.h"

#include <QSet>

#include <cstdint>
#include <cstring>

using kalvex::fuzz::Check;

namespace {

// The characters of the code page, as its own decoder gives them.
const QSet<QChar>& Held() {
    static const QSet<QChar> held = [] {
        QByteArray every(256, '\0');
        for (int b = 0; b < 256; ++b)
            every[b] = static_cast<char>(b);
        const QString decoded = Desde_Cp1252(every);
        return QSet<QChar>(decoded.begin(), decoded.end());
    }();
    return held;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = Desde_Cp1252(bytes);
    Check(text.size() == bytes.size(), "one character per byte");
    Check(A_Cp1252(text) == bytes, "bytes decode and encode back unchanged");

    Check(Held().size() == 256, "the 256 bytes decode to 256 different characters");
    QString units(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < units.size(); ++i) {
        char16_t u;
        std::memcpy(&u, data + 2 * i, sizeof u);
        units[i] = QChar(u);
    }
    const QByteArray encoded = A_Cp1252(units);
    Check(encoded.size() == units.size(), "one byte per UTF-16 unit");
    const QString back = Desde_Cp1252(encoded);
    for (qsizetype i = 0; i < units.size(); ++i) {
        if (Held().contains(units[i]))
            Check(back[i] == units[i], "a character of the code page comes back unchanged");
        else
            Check(encoded[i] == '?', "a character outside the code page becomes '?'");
    }
    return 0;
}
