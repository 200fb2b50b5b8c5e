// The package's keyword options converted as the command line converts its
// options: each word looked up in its setting's name table, each range
// checked by the engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <pybind11/pybind11.h>

#include "korvel/analysis.h"
#include "korvel/errors.h"

namespace korvel::python {

// A value given by keyword, of the type asked for: TypeError naming the
// keyword otherwise.
template <typename T> T valueOf(const char* keyword, pybind11::handle value)
{
    try {
        return value.cast<T>();
    } catch (const pybind11::cast_error&) {
        throw pybind11::type_error(std::string(keyword) + ": " + pybind11::repr(value).cast<std::string>() +
                                   " is not of the type it takes");
    }
}

// The value of a setting named by its option word in the table.
template <typename Value, std::size_t N>
Value wordOf(const char* keyword, const std::string& word, const SettingNames<Value> (&table)[N])
{
    if (const std::optional<Value> found = valueOfOption(table, word))
        return *found;
    throw RequestError(std::string(keyword) + " " + word + ": not one of " + optionWords(table));
}

// The request of the options given by keyword: the command line's long
// options with "_" for "-" (method, transform, through_origin, error_x and
// error_y, confidence, min_group_size, chi_squared, iterations, critical_p,
// adjust, slope_h0, intercept_h0, slope_pairs, elevation, elevation_pairs,
// shift, shift_pairs, save), but the confidence a fraction in whole percents
// (0.95). A keyword given None keeps its default. TypeError for any other
// keyword; RequestError as checkRequest says.
Request requestOf(const pybind11::dict& options);

// The resampling's seed: none, or a whole number from 1 to 2^32 - 1.
std::optional<std::uint32_t> seedOf(pybind11::handle seed);

} // namespace korvel::python
