// Writing text in columns padded with blanks.
#pragma once

#include <ostream>
#include <string>

// Writes text unchanged, then width - length blanks when the text is shorter
// than width. Longer text is written whole; nothing is ever cut.
void writePadded(std::ostream& out, const std::string& text, int width);
