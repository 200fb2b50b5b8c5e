// How a run ends early. Below the front ends, every failure that ends a run
// travels up as an exception derived from Error; the app turns each into its
// message and exit status. Results that are merely undefined are not errors:
// the statistics give NaN.
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

// The system's reason for the failure of the last call that set errno.
std::string systemReason();

} // namespace korvel
