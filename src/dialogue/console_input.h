// Reading the user's answers from the console's input. When the input has
// ended, every read throws EndOfInput: no read ever loops on a closed input.
#pragma once

#include <iostream>
#include <string>

#include "data/errors.h"

namespace korvel {

// The streams the dialogue reads its answers from and writes its screens,
// questions and messages to (the standard streams when run as a program).
struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// Standard input ended while a question waited for an answer.
struct EndOfInput : Error {
    EndOfInput() : Error("end of input") {}
};

// One whitespace-delimited word (leading white space and empty lines skipped).
std::string readWord(Console& console);

// One non-blank character (leading white space skipped); case kept.
char readChar(Console& console);

// One raw character: white space and line ends count as characters.
char readRawChar(Console& console);

// Prints "Bad entry, try again:\t" and reads words until accept holds; word
// starts as the first answer. Returns the accepted word.
template <typename Check>
std::string reaskUntil(Console& console, std::string word, Check accept)
{
    while (!accept(word)) {
        console.out << "Bad entry, try again:\t";
        word = readWord(console);
    }
    return word;
}

// Prints prompt (followed by an end of line when withEndl), then reads a word
// as reaskUntil does.
template <typename Check>
std::string askValidated(Console& console, const std::string& prompt, bool withEndl, Check accept)
{
    console.out << prompt;
    if (withEndl)
        console.out << std::endl;
    return reaskUntil(console, readWord(console), accept);
}

} // namespace korvel
