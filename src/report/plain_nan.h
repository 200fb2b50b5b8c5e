// Undefined values are written as "nan", whatever the sign the arithmetic
// left on them (which depends on how the compiler orders an addition).
#pragma once

#include <ostream>

namespace korvel {

// Makes the stream write every NaN as "nan", keeping its width and adjustment.
void writeNaNPlainly(std::ostream& out);

} // namespace korvel
