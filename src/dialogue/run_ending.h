// The two ways a run ends before the user's x, travelling up to the run loop,
// which turns them into the exit status.
#pragma once

#include <string>

// Standard input ended while a question waited for an answer.
struct EndOfInput {};

// A file (the data file, the report, the transformed-data file) could not be opened.
struct FileNotOpened {
    std::string name;
};
