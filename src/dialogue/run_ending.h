// The two ways a run ends before the user's x, travelling up to the run loop,
// which turns them into the exit status.
#pragma once

#include <string>

// Standard input ended while a question waited for an answer.
struct EndOfInput {};

// A file (the data file, the report, the transformed-data file) could not be
// opened; for a data file whose values cannot be read, the problem says where.
struct FileNotOpened {
    std::string name;
    std::string problem = {}; // one line naming the file and line, or empty
};
