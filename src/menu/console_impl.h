// Template definitions for console.h.
#pragma once

#include <iostream>

template <typename Check>
std::string reaskUntil(std::string word, Check accept)
{
    while (!accept(word)) {
        std::cout << "Bad entry, try again:\t";
        word = readWord();
    }
    return word;
}

template <typename Check>
std::string askValidated(const std::string& prompt, bool withEndl, Check accept)
{
    std::cout << prompt;
    if (withEndl)
        std::cout << std::endl;
    return reaskUntil(readWord(), accept);
}
