#include "engine/numerical_errors.h"

#include <mutex>

#include <gsl/gsl_errno.h>

namespace korvel {

void quietNumericalErrors()
{
    static std::once_flag once;
    std::call_once(once, [] { gsl_set_error_handler_off(); });
}

} // namespace korvel
