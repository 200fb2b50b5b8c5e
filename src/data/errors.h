// The errors a run can end with (korvel/errors.h), and the system's words for
// the last failure.
#pragma once

#include <string>

#include "korvel/errors.h"

namespace korvel {

// The system's reason for the failure of the last call that set errno.
std::string systemReason();

} // namespace korvel
