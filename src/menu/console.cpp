#include "console.h"

#include "report_file.h"

#include <iostream>

void endOfInput()
{
    std::cout << "\nGoodBye" << std::endl;
    endRun();
}

std::string readWord()
{
    std::string word;
    if (!(std::cin >> word))
        endOfInput();
    return word;
}

char readChar()
{
    char c = 0;
    if (!(std::cin >> c))
        endOfInput();
    return c;
}

char readRawChar()
{
    const int c = std::cin.get();
    if (c == std::char_traits<char>::eof())
        endOfInput();
    return static_cast<char>(c);
}
