// Turning typed or stored text into numbers, and checking what the user typed
// at a prompt. Conversions never reject text (they follow atof/atoi); the
// checks are separate functions.
#pragma once

#include <optional>
#include <string>

// The value atof gives for the text: leading white space skipped, the longest
// numeric prefix converted, 0.0 when there is none (so "NA" and "" give 0).
double StrTodouble(const std::string& text);

// True when every character is a digit '0'..'9' (the empty text included).
bool isInteger(const std::string& text);

// True when every character is a digit or a point (any number of points).
bool isDecimal(const std::string& text);

// True exactly when StrTodouble(a) > StrTodouble(b).
bool StrCompare(const std::string& a, const std::string& b);

// True when isInteger(text) and lo <= value <= hi. A digit string too long for
// an int is refused, never wrapped.
bool isBetween(const std::string& text, int lo, int hi);

// True when the text is made of digits only and its value fits in an int.
bool isIntegerInRange(const std::string& text);

// True when isDecimal(text) and atof(text), taken to single precision, lies in
// [lo, hi].
bool isBetween_dec(const std::string& text, float lo, float hi);

// True when isDecimal(text) and its value is finite (a run of digits too long
// for a double is refused).
bool isFiniteDecimal(const std::string& text);

// The value of the text when, blanks around it dropped, it is one decimal
// number as strtod reads it (sign, digits, point, exponent) and the value is
// finite; nothing for anything else (empty, inf, nan, hexadecimal, a number
// followed by other text, 1e400). Used for data cells and typed real numbers.
std::optional<double> decimalValue(const std::string& text);
