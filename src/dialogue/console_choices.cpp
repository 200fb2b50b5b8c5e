#include "dialogue/console_choices.h"

#include <cctype>
#include <iostream>

#include "data/same_file.h"
#include "data/number_text.h"
#include "dialogue/console_input.h"

namespace korvel {

namespace {
char lowered(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}
} // namespace

double ConsoleChoices::errorVariance(Transform transform, const std::string& name)
{
    console.out << "Enter error variance estimate for " << namesOf(transformNames, transform).report << name << ": ";
    const std::string word = reaskUntil(console, readWord(console), [](const std::string& w) {
        const auto value = decimalValue(w);
        return value && *value >= 0;
    });
    return *decimalValue(word);
}

bool ConsoleChoices::compareSlopes()
{
    console.out << "\nRun post-hoc multiple slope comparisons between groups? (y or n)" << std::endl;
    return lowered(readChar(console)) == 'y';
}

bool ConsoleChoices::compareLines()
{
    console.out << "\nRun comparisons for lines with common slope? (y or n)" << std::endl;
    return lowered(readChar(console)) == 'y';
}

LinesAction ConsoleChoices::nextAction(bool hasIntercept)
{
    console.out << "ANCOVA OPTIONS\n\n" << std::endl;
    console.out << "S - Save transformed data to disk" << std::endl;
    if (hasIntercept)
        console.out << "R - compare Residuals for shifts in elevation" << std::endl;
    console.out << "F - compare Fitted values for shifts along the common slope" << std::endl;
    console.out << "X - eXit" << std::endl;
    switch (lowered(readRawChar(console))) {
    case 's':
        return LinesAction::Save;
    case 'r':
        return LinesAction::Elevation;
    case 'f':
        return LinesAction::Shift;
    case 'x':
        return LinesAction::Exit;
    default:
        return LinesAction::Other;
    }
}

bool ConsoleChoices::compareShiftPairs()
{
    console.out << "\n\nRun post-hoc multiple comparisons (y or n)?" << std::endl;
    return readChar(console) == 'y';
}

std::string ConsoleChoices::transformedFileName(const std::string& dataFile, const std::string& reportName)
{
    console.out << "\n Enter name of output filename-> ";
    // Neither the data file nor the open report is ever replaced.
    return reaskUntil(console, readWord(console), [&](const std::string& w) {
        return !sameFile(w, dataFile) && (reportName.empty() || !sameFile(w, reportName));
    });
}

} // namespace korvel
