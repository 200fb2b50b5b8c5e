#include "data/same_file.h"

#include <filesystem>
#include <system_error>

namespace korvel {

bool sameFile(const std::string& a, const std::string& b)
{
    namespace fs = std::filesystem;
    if (a == b)
        return true;
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec))
        return fs::equivalent(a, b, ec);
    // Made absolute first, so that a name whose first folder does not exist is
    // normalised against the working folder like any other.
    const fs::path pa = fs::weakly_canonical(fs::absolute(a), ec);
    if (ec)
        return false;
    const fs::path pb = fs::weakly_canonical(fs::absolute(b), ec);
    return !ec && pa == pb;
}

} // namespace korvel
