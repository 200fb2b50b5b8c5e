#include "data/line_reader.h"

#include <algorithm>
#include <cstring>

namespace korvel {

namespace {
std::string_view withoutEndingReturn(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}
} // namespace

LineReader::LineReader(std::string_view bytes) : rest(bytes) {}

LineReader::LineReader(std::FILE* opened, std::size_t blockSize) : file(opened), blockSize(blockSize)
{
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
}

// Keeps the bytes not yet returned at the start of the block and reads more
// after them; false at the end of the file.
bool LineReader::refill()
{
    if (!file)
        return false;
    const std::size_t kept = rest.size();
    if (kept > 0 && rest.data() != block.data())
        std::memmove(block.data(), rest.data(), kept);
    block.resize(std::max(block.size(), kept + blockSize));
    const std::size_t got = std::fread(block.data() + kept, 1, block.size() - kept, file.get());
    rest = std::string_view(block.data(), kept + got);
    if (got == 0)
        file.reset();
    return got > 0;
}

bool LineReader::next(std::string_view& line)
{
    std::size_t searched = 0;
    for (;;) {
        const void* feed =
            rest.size() > searched ? std::memchr(rest.data() + searched, '\n', rest.size() - searched) : nullptr;
        if (feed) {
            const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(feed) - rest.data());
            line = withoutEndingReturn(rest.substr(0, at));
            rest.remove_prefix(at + 1);
            passed += at + 1;
            return true;
        }
        searched = rest.size();
        if (!refill())
            break;
    }
    if (rest.empty())
        return false;
    line = withoutEndingReturn(rest);
    passed += rest.size();
    rest = std::string_view();
    return true;
}

} // namespace korvel
