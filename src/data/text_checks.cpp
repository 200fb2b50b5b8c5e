#include "data/text_checks.h"

#include <cmath>
#include <cstdlib>

double StrTodouble(const std::string& text)
{
    return std::atof(text.c_str());
}

bool isInteger(const std::string& text)
{
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool isDecimal(const std::string& text)
{
    for (char c : text)
        if ((c < '0' || c > '9') && c != '.')
            return false;
    return true;
}

bool StrCompare(const std::string& a, const std::string& b)
{
    return StrTodouble(a) > StrTodouble(b);
}

// Value of a digit string, or -1 when it does not fit in an int. Leading zeros
// are allowed ("007" is 7).
static long long digitValue(const std::string& text)
{
    long long value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
        if (value > 2147483647LL)
            return -1;
    }
    return value;
}

bool isIntegerInRange(const std::string& text)
{
    return isInteger(text) && digitValue(text) >= 0;
}

bool isBetween(const std::string& text, int lo, int hi)
{
    if (!isIntegerInRange(text))
        return false;
    const long long value = digitValue(text);
    return lo <= value && value <= hi;
}

bool isBetween_dec(const std::string& text, float lo, float hi)
{
    if (!isDecimal(text))
        return false;
    const float value = static_cast<float>(std::atof(text.c_str()));
    return lo <= value && value <= hi;
}

bool isFiniteDecimal(const std::string& text)
{
    return isDecimal(text) && std::isfinite(std::atof(text.c_str()));
}

std::optional<double> decimalValue(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const std::string number = text.substr(first, text.find_last_not_of(' ') - first + 1);
    // Only the characters of a decimal number: no inf, nan or hexadecimal.
    if (number.find_first_not_of("0123456789+-.eE") != std::string::npos)
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (end == number.c_str() || *end != '\0' || !std::isfinite(value))
        return std::nullopt;
    return value;
}
