#include "data/same_file.h"

#include <filesystem>
#include <system_error>

namespace korvel {

namespace {
namespace fs = std::filesystem;

// As many links in a row as the system follows before it gives up (ELOOP).
constexpr int mostLinksFollowed = 40;

// Where the name leads: made absolute (so that a name whose first folder does
// not exist is normalised against the working folder like any other), every
// symbolic link followed, a link to a file that does not exist yet and a
// chain of links included, then normalised.
fs::path resolved(const std::string& name, std::error_code& ec)
{
    fs::path path = fs::absolute(name, ec);
    std::error_code missing; // a name that leads nowhere yet is no link
    for (int links = 0; !ec && links < mostLinksFollowed && fs::is_symlink(fs::symlink_status(path, missing)); ++links) {
        const fs::path target = fs::read_symlink(path, ec);
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return ec ? path : fs::weakly_canonical(path, ec);
}
} // namespace

bool sameFile(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec))
        return fs::equivalent(a, b, ec); // hard links to one file included
    const fs::path pa = resolved(a, ec);
    if (ec)
        return false;
    const fs::path pb = resolved(b, ec);
    return !ec && pa == pb;
}

} // namespace korvel
