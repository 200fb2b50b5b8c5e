#include "dialogue/filter_questions.h"

#include <algorithm>
#include <iostream>

#include "data/scalar_filter.h"
#include "dialogue/console_input.h"

namespace korvel {

namespace {
// Lists the first values of the column, at most 29, repeats included.
void showValues(const LabelColumn& column)
{
    std::cout << "\nFiltering variable " << column.name << "\nValues:\t";
    const std::size_t shown = std::min<std::size_t>(column.ids.size(), 29);
    for (std::size_t i = 0; i < shown; ++i)
        std::cout << column.cell(i) << " ";
    std::cout << "\n\n Is it:\n\tC - categorical" << "\n\tS - scalar" << std::endl;
}
} // namespace

std::map<std::string, bool> askFilter(LabelColumn& column, FilterChoice& choice)
{
    showValues(column);
    if (readChar() == 's') {
        ScalarClasses classes;
        std::cout << "Enter minimum: ";
        classes.min = readWord();
        std::cout << "Enter maximum: ";
        classes.max = readWord();
        sortIntoClasses(column, classes);
        choice.classes.push_back(std::move(classes));
    }
    std::cout << "Choose y or n:\n";
    std::map<std::string, bool> keep;
    for (const std::string& label : column.labels) {
        std::cout << "remove " << label << "? ";
        keep[label] = readChar() != 'y';
    }
    return keep;
}

} // namespace korvel
