#include "dialogue/console_input.h"

namespace korvel {

std::string readWord(Console& console)
{
    std::string word;
    if (!(console.in >> word))
        throw EndOfInput();
    return word;
}

char readChar(Console& console)
{
    char c{};
    if (!(console.in >> c))
        throw EndOfInput();
    return c;
}

char readRawChar(Console& console)
{
    const int c = console.in.get();
    if (c == std::char_traits<char>::eof())
        throw EndOfInput();
    return static_cast<char>(c);
}

} // namespace korvel
