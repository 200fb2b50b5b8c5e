#include "dialogue/console_input.h"

namespace korvel {

std::string readWord()
{
    std::string word;
    if (!(std::cin >> word))
        throw EndOfInput();
    return word;
}

char readChar()
{
    char c{};
    if (!(std::cin >> c))
        throw EndOfInput();
    return c;
}

char readRawChar()
{
    const int c = std::cin.get();
    if (c == std::char_traits<char>::eof())
        throw EndOfInput();
    return static_cast<char>(c);
}

} // namespace korvel
