// Checks of what the user typed at a prompt or gave as an option value.
#pragma once

#include <string>

namespace korvel {

// True when every character is a digit '0'..'9' (the empty text included).
bool isDigits(const std::string& text);

// True when every character is a digit or a point (any number of points).
bool isDigitsAndPoints(const std::string& text);

// True when the text is made of digits only and its value fits in an int.
bool isWholeNumber(const std::string& text);

// True when isWholeNumber(text) and lo <= value <= hi. A digit string too long
// for an int is refused, never wrapped.
bool isWholeNumberIn(const std::string& text, int lo, int hi);

// True when isDigitsAndPoints(text) and atof(text), taken to single precision,
// lies in [lo, hi].
bool isDecimalIn(const std::string& text, float lo, float hi);

// True when isDigitsAndPoints(text) and its value is finite (a run of digits
// too long for a double is refused).
bool isFiniteDecimal(const std::string& text);

} // namespace korvel
