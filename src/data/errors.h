// How a run ends early. Below the front ends, every failure that ends a run
// travels up as an exception derived from Error; the app turns each into its
// message and exit status. Results that are merely undefined are not errors:
// the statistics give NaN.
#pragma once

#include <stdexcept>
#include <string>

struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A file (the data file, the report, the saved scores, a plot) could not be
// opened or written. For a data file whose values cannot be read, problem
// names the file and the line.
struct FileNotOpened : Error {
    explicit FileNotOpened(std::string fileName, std::string why = {})
        : Error("File " + fileName + " not opened"), name(std::move(fileName)), problem(std::move(why))
    {
    }
    std::string name;
    std::string problem; // one line naming the file and line, or empty
};
