// Reading the user's answers from standard input. When standard input has
// ended, every read throws EndOfInput: no read ever loops on a closed input.
#pragma once

#include <iostream>
#include <string>

#include "data/errors.h"

namespace korvel {

// Standard input ended while a question waited for an answer.
struct EndOfInput : Error {
    EndOfInput() : Error("end of input") {}
};

// One whitespace-delimited word (leading white space and empty lines skipped).
std::string readWord();

// One non-blank character (leading white space skipped); case kept.
char readChar();

// One raw character: white space and line ends count as characters.
char readRawChar();

// Prints "Bad entry, try again:\t" and reads words until accept holds; word
// starts as the first answer. Returns the accepted word.
template <typename Check>
std::string reaskUntil(std::string word, Check accept)
{
    while (!accept(word)) {
        std::cout << "Bad entry, try again:\t";
        word = readWord();
    }
    return word;
}

// Prints prompt (followed by an end of line when withEndl), then reads a word
// as reaskUntil does.
template <typename Check>
std::string askValidated(const std::string& prompt, bool withEndl, Check accept)
{
    std::cout << prompt;
    if (withEndl)
        std::cout << std::endl;
    return reaskUntil(readWord(), accept);
}

} // namespace korvel
