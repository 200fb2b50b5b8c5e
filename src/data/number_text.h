// Numbers read from text: what a data cell or a typed answer holds.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The value atof gives for the text: leading white space skipped, the longest
// numeric prefix converted, 0.0 when there is none (so "NA" and "" give 0).
// The scalar filter's classes and the dialogue's typed numbers follow it.
double atofValue(const std::string& text);

// The value of the text when, blanks around it dropped, it is one decimal
// number as strtod reads it (sign, digits, point, exponent) and the value is
// finite; nothing for anything else (empty, inf, nan, hexadecimal, a number
// followed by other text, 1e400). Used for data cells and typed real numbers.
std::optional<double> decimalValue(std::string_view text);

} // namespace korvel
