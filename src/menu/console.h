// Reading the user's answers from standard input. Every read follows one rule
// for a closed input: when standard input has ended, the console gets
// "\nGoodBye", the report file (if one is open) is flushed, and the
// program ends with exit status 1. No read ever loops on a closed input.
#pragma once

#include <ostream>
#include <string>

// Ends the program as described above.
[[noreturn]] void endOfInput();

// One whitespace-delimited word (leading white space and empty lines skipped).
std::string readWord();

// One non-blank character (leading white space skipped); case kept.
char readChar();

// One raw character: white space and line ends count as characters.
char readRawChar();

// Prints prompt (followed by an end of line when withEndl), reads one word and,
// while accept(word) is false, prints "Bad entry, try again:\t" and reads the
// next word. Returns the accepted word.
template <typename Check>
std::string askValidated(const std::string& prompt, bool withEndl, Check accept);

// Prints "Bad entry, try again:\t" and reads words until accept holds; word
// starts as the first answer. Returns the accepted word.
template <typename Check>
std::string reaskUntil(std::string word, Check accept);

#include "console_impl.h"
