#include "cli/whole_lines.h"

namespace korvel {

WholeLines::~WholeLines()
{
    passOn(begun.size());
    to->pubsync();
}

// Passes on the first count characters held; false when the other buffer
// took fewer.
bool WholeLines::passOn(std::string::size_type count)
{
    const auto n = static_cast<std::streamsize>(count);
    const bool passed = to->sputn(begun.data(), n) == n;
    begun.erase(0, count);
    return passed;
}

std::streamsize WholeLines::xsputn(const char* s, std::streamsize n)
{
    begun.append(s, static_cast<std::string::size_type>(n));
    const auto end = begun.rfind('\n');
    return end == std::string::npos || passOn(end + 1) ? n : 0;
}

WholeLines::int_type WholeLines::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
}

int WholeLines::sync()
{
    return to->pubsync();
}

} // namespace korvel
