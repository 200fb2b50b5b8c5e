// Writing text in columns padded with blanks.
#pragma once

#include <ostream>
#include <string>

namespace korvel {

// The width of the report's columns of numbers and labels, and the least
// width of its columns of names, slopes and intercepts.
constexpr int columnWidth = 7;

// Writes text unchanged, then width - length blanks when the text is shorter
// than width. Longer text is written whole; nothing is ever cut.
void writePadded(std::ostream& out, const std::string& text, int width);

} // namespace korvel
