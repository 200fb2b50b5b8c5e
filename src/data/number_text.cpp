#include "data/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace korvel {

double atofValue(const std::string& text)
{
    return std::atof(text.c_str());
}

// from_chars reads what strtod reads but a leading '+', and the cells are
// checked for only the characters of a decimal number first. Out of range it
// leaves the value to strtod, which gives an infinity above and 0 or a
// subnormal below, as it always has.
std::optional<double> decimalValue(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return std::nullopt;
    std::string_view number = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (number.find_first_not_of("0123456789+-.eE") != std::string_view::npos)
        return std::nullopt;
    if (number[0] == '+') {
        number.remove_prefix(1);
        if (number.empty() || number[0] == '+' || number[0] == '-')
            return std::nullopt;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (end != number.data() + number.size() || (ec != std::errc() && ec != std::errc::result_out_of_range))
        return std::nullopt;
    if (ec == std::errc::result_out_of_range)
        value = std::strtod(std::string(number).c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace korvel
