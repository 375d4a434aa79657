#pragma once
// The conversions between numbers and the texts the user types and reads.

#include <QString>

#include <cstdint>

#include <stdexcept>

class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString& text);
};

// Optional leading blanks and sign, then decimal digits (or "$" and hexadecimal digits), and
// nothing after them; anything else, an empty text included, raises EConvertError.
int StrToInt(const QString& text);

// A byte as the windows show it: two upper-case hexadecimal digits ("0A").
QString Hex2(uint8_t byte);
