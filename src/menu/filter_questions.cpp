#include "filter_questions.h"

#include <algorithm>
#include <iostream>

#include "console.h"
#include "text.h"

std::string scalarLabel(const std::string& cell, const std::string& min, const std::string& max)
{
    if (StrCompare(cell, max))
        return "> " + max;
    if (StrCompare(min, cell))
        return "< " + min;
    return "> " + min + " & < " + max;
}

void relabelScalar(std::vector<std::string>& column, const std::string& min, const std::string& max)
{
    for (std::size_t i = 1; i < column.size(); ++i)
        column[i] = scalarLabel(column[i], min, max);
}

// Lists the first values of the column, at most 29, repeats included.
static void showValues(const std::vector<std::string>& column)
{
    std::cout << "\nFiltering variable " << column[0] << "\nValues:\t";
    const std::size_t last = std::min<std::size_t>(column.size() - 1, 29);
    for (std::size_t i = 1; i <= last; ++i)
        std::cout << column[i] << " ";
    std::cout << "\n\n Is it:\n\tC - categorical" << "\n\tS - scalar" << std::endl;
}

std::map<std::string, int> askFilter(std::vector<std::string>& column)
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
    std::map<std::string, int> keep;
    for (std::size_t i = 1; i < column.size(); ++i) {
        if (keep.count(column[i]))
            continue;
        std::cout << "remove " << column[i] << "? ";
        keep[column[i]] = (readChar() == 'y') ? 0 : 1;
    }
    return keep;
}
