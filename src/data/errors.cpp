#include "data/errors.h"

#include <cerrno>
#include <cstring>

namespace korvel {

std::string systemReason()
{
    return std::strerror(errno);
}

} // namespace korvel
