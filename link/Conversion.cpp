#include "Conversion.h"

#include <limits>

EConvertError::EConvertError(const QString& text)
    : std::runtime_error(
          QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString()) {}

int StrToInt(const QString& text) {
    int i = 0;
    const int n = static_cast<int>(text.size());
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    int base = 10;
    if (i < n && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    }
    if (i == n)
        throw EConvertError(text);
    long long value = 0;
    for (; i < n; ++i) {
        int digit = text[i].isDigit() && text[i].unicode() < 128 ? text[i].digitValue()
                    : base == 16 && QStringLiteral("ABCDEFabcdef").contains(text[i])
                        ? text[i].toUpper().unicode() - 'A' + 10
                        : -1;
        if (digit < 0)
            throw EConvertError(text);
        value = value * base + digit;
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            throw EConvertError(text);
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        throw EConvertError(text);
    return static_cast<int>(value);
}

QString Hex2(uint8_t byte) {
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}
