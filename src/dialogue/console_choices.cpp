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
    std::cout << "Enter error variance estimate for " << namesOf(transformNames, transform).report << name << ": ";
    const std::string word = reaskUntil(readWord(), [](const std::string& w) {
        const auto value = decimalValue(w);
        return value && *value >= 0;
    });
    return *decimalValue(word);
}

bool ConsoleChoices::compareSlopes()
{
    std::cout << "\nRun post-hoc multiple slope comparisons between groups? (y or n)" << std::endl;
    return lowered(readChar()) == 'y';
}

bool ConsoleChoices::compareLines()
{
    std::cout << "\nRun comparisons for lines with common slope? (y or n)" << std::endl;
    return lowered(readChar()) == 'y';
}

LinesAction ConsoleChoices::nextAction(bool hasIntercept)
{
    std::cout << "ANCOVA OPTIONS\n\n" << std::endl;
    std::cout << "S - Save transformed data to disk" << std::endl;
    if (hasIntercept)
        std::cout << "R - compare Residuals for shifts in elevation" << std::endl;
    std::cout << "F - compare Fitted values for shifts along the common slope" << std::endl;
    std::cout << "X - eXit" << std::endl;
    switch (lowered(readRawChar())) {
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
    std::cout << "\n\nRun post-hoc multiple comparisons (y or n)?" << std::endl;
    return readChar() == 'y';
}

std::string ConsoleChoices::transformedFileName(const std::string& dataFile, const std::string& reportName)
{
    std::cout << "\n Enter name of output filename-> ";
    // Neither the data file nor the open report is ever replaced.
    return reaskUntil(readWord(), [&](const std::string& w) {
        return !sameFile(w, dataFile) && (reportName.empty() || !sameFile(w, reportName));
    });
}

} // namespace korvel
