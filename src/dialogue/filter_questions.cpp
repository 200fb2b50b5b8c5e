#include "dialogue/filter_questions.h"

#include <algorithm>
#include <iostream>

#include "data/scalar_filter.h"
#include "dialogue/console_input.h"

namespace korvel {

namespace {
// Lists the first values of the column, at most 29, repeats included.
void showValues(Console& console, const LabelColumn& column)
{
    console.out << "\nFiltering variable " << column.name << "\nValues:\t";
    const std::size_t shown = std::min<std::size_t>(column.ids.size(), 29);
    for (std::size_t i = 0; i < shown; ++i)
        console.out << column.cell(i) << " ";
    console.out << "\n\n Is it:\n\tC - categorical" << "\n\tS - scalar" << std::endl;
}
} // namespace

std::map<std::string, bool> askFilter(Console& console, LabelColumn& column, FilterChoice& choice)
{
    showValues(console, column);
    if (readChar(console) == 's') {
        ScalarClasses classes;
        console.out << "Enter minimum: ";
        classes.min = readWord(console);
        console.out << "Enter maximum: ";
        classes.max = readWord(console);
        sortIntoClasses(column, classes);
        choice.classes.push_back(std::move(classes));
    }
    console.out << "Choose y or n:\n";
    std::map<std::string, bool> keep;
    for (const std::string& label : column.labels) {
        console.out << "remove " << label << "? ";
        keep[label] = readChar(console) != 'y';
    }
    return keep;
}

} // namespace korvel
