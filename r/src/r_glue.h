// The package's compiled side: R's values turned into the engine's data and
// request, the engine's events as R takes them (its interrupt stops the
// work), and the objects a fit and a test keep between calls.
#pragma once

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <Rcpp.h>

#include "korvel/korvel.h"
#include "packages/kept_messages.h"

namespace korvel::r {

// Progress that stops the work when the user has interrupted R: the engine
// unwinds with Interrupted, which the call turns back into R's interrupt.
class InterruptCheck : public Progress {
public:
    void begin(Stage, long long, double) override {}
    void advance(long long done) override;
    void end() override {}
};

// The engine's events as the command line words them, kept line by line.
using REvents = KeptMessages<InterruptCheck>;

// The request of the options R gives as a named list: the command line's
// long options with "_" for "-", the confidence a fraction in whole
// percents; NULL keeps an option's default. RequestError for a value out of
// its range or an option the command line does not have.
Request requestOf(const Rcpp::List& options);

// The seed: NULL (the stream of 1) or a whole number from 1 to 2^32 - 1.
std::optional<std::uint32_t> seedOf(SEXP seed);

// The value of a setting named by its option word in the table.
template <typename Value, std::size_t N>
Value wordOf(const char* keyword, const std::string& word, const SettingNames<Value> (&table)[N])
{
    if (const std::optional<Value> found = valueOfOption(table, word))
        return *found;
    throw RequestError(std::string(keyword) + " " + word + ": not one of " + optionWords(table));
}

// The data of a source list: list(file, y, x, groups, filters, format) for a
// data file, or list(y_name, y, x_name, x, groups, source) for columns, each
// group list(name, codes (1-based, NA missing), levels); with the reading's
// warnings.
Data dataOf(const Rcpp::List& source, std::vector<std::string>& notes);

} // namespace korvel::r
