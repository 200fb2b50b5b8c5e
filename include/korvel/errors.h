// How a call ends early. Every failure that ends a call travels up as an
// exception derived from Error; results that are merely undefined are not
// errors: the statistics give NaN.
#pragma once

#include <stdexcept>
#include <string>

namespace korvel {

struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A file (the data file, the report, the saved scores, a plot) could not be
// opened or written: the system's reason, or for a data file whose values
// cannot be read, the problem naming the file and the line.
struct FileNotOpened : Error {
    FileNotOpened(std::string fileName, std::string systemReason, std::string lineProblem = {})
        : Error("File " + fileName + " not opened"), name(std::move(fileName)), reason(std::move(systemReason)),
          problem(std::move(lineProblem))
    {
    }
    std::string name;
    std::string reason;  // e.g. "No such file or directory"
    std::string problem; // e.g. "data.csv: line 4: quote not closed", or empty
};

// What the call was asked for does not fit (a variable the data do not have,
// a value out of its range): the message names the option and the value.
struct RequestError : Error {
    using Error::Error;
};

} // namespace korvel
