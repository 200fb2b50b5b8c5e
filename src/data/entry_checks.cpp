#include "data/entry_checks.h"

#include <cmath>
#include <cstdlib>

namespace korvel {

namespace {
// Value of a digit string, or -1 when it does not fit in an int. Leading zeros
// are allowed ("007" is 7).
long long digitValue(const std::string& text)
{
    long long value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
        if (value > 2147483647LL)
            return -1;
    }
    return value;
}
} // namespace

bool isDigits(const std::string& text)
{
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool isDigitsAndPoints(const std::string& text)
{
    for (char c : text)
        if ((c < '0' || c > '9') && c != '.')
            return false;
    return true;
}

bool isWholeNumber(const std::string& text)
{
    return isDigits(text) && digitValue(text) >= 0;
}

bool isWholeNumberIn(const std::string& text, int lo, int hi)
{
    if (!isWholeNumber(text))
        return false;
    const long long value = digitValue(text);
    return lo <= value && value <= hi;
}

bool isDecimalIn(const std::string& text, float lo, float hi)
{
    if (!isDigitsAndPoints(text))
        return false;
    const float value = static_cast<float>(std::atof(text.c_str()));
    return lo <= value && value <= hi;
}

bool isFiniteDecimal(const std::string& text)
{
    return isDigitsAndPoints(text) && std::isfinite(std::atof(text.c_str()));
}

} // namespace korvel
