#include "data/errors.h"

#include <cerrno>
#include <cstring>

std::string systemReason()
{
    return std::strerror(errno);
}
