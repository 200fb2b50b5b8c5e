// The numerical library's errors, switched off before any call computes:
// outside its domain a distribution gives NaN, and no host process aborts.
#pragma once

namespace korvel {

// Switches the library's error handler off, once for the process.
void quietNumericalErrors();

} // namespace korvel
