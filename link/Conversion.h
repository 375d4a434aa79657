#pragma once
// The decimal conversion of typed text used wherever a number leaves an edit field.

#include <QString>

#include <stdexcept>

class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString& text);
};

// Optional leading blanks and sign, then decimal digits (or "$" and hexadecimal digits), and
// nothing after them; anything else, an empty text included, raises EConvertError.
int StrToInt(const QString& text);
