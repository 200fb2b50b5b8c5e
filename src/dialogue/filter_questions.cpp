#include "dialogue/filter_questions.h"

#include <algorithm>
#include <iostream>

#include "data/scalar_filter.h"
#include "dialogue/console_input.h"

namespace {
// Lists the first values of the column, at most 29, repeats included.
void showValues(const Column& column)
{
    std::cout << "\nFiltering variable " << column[0] << "\nValues:\t";
    const std::size_t last = std::min<std::size_t>(column.size() - 1, 29);
    for (std::size_t i = 1; i <= last; ++i)
        std::cout << column[i] << " ";
    std::cout << "\n\n Is it:\n\tC - categorical" << "\n\tS - scalar" << std::endl;
}
} // namespace

FilterMap askFilter(Column& column)
{
    showValues(column);
    if (readChar() == 's') {
        std::cout << "Enter minimum: ";
        const std::string min = readWord();
        std::cout << "Enter maximum: ";
        const std::string max = readWord();
        relabelScalar(column, min, max);
    }
    std::cout << "Choose y or n:\n";
    FilterMap keep;
    for (std::size_t i = 1; i < column.size(); ++i) {
        if (keep.count(column[i]))
            continue;
        std::cout << "remove " << column[i] << "? ";
        keep[column[i]] = (readChar() == 'y') ? 0 : 1;
    }
    return keep;
}
