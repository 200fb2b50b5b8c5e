#include "dialogue/data_input_screen.h"

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/data_file.h"
#include "data/entry_checks.h"
#include "data/scalar_filter.h"
#include "dialogue/console_input.h"
#include "dialogue/filter_questions.h"
#include "report/console_messages.h"

namespace korvel {

namespace {
// One hypothesised-value line: "none" when not set, else the value in the
// console's current number format.
void showHypothesis(const char* label, const std::optional<double>& value)
{
    std::cout << label;
    if (value)
        std::cout << *value;
    else
        std::cout << "none";
    std::cout << std::endl;
}

const char* transformationText(Transform transform)
{
    switch (transform) {
    case Transform::Log10:
        return "log Y vs log X";
    case Transform::Ln:
        return "ln Y vs ln X";
    default:
        return "linear Y vs linear X";
    }
}

// The name of a chosen variable, "none" when there is none.
std::string nameOf(const std::vector<std::string>& header, const std::optional<int>& variable)
{
    return variable ? header[static_cast<std::size_t>(*variable)] : "none";
}

void display(const Session& session, const std::vector<std::string>& header)
{
    const ColumnSelection& chosen = session.selection;
    std::cout << "\nDATA INPUT - settings" << std::endl;
    std::cout << "G - Grouping variable:  " << groupingName(header, chosen.grouping) << std::endl;
    std::cout << "Y - y variable:         " << nameOf(header, chosen.y) << std::endl;
    std::cout << "X - x variable:         " << nameOf(header, chosen.x) << std::endl;
    std::cout << "F - Filter variable:    ";
    for (const FilterChoice& filter : chosen.filters)
        std::cout << nameOf(header, filter.variable) << " ";
    if (chosen.filters.empty())
        std::cout << "none ";
    std::cout << std::endl;
    std::cout << "T - Transformation:     " << transformationText(session.settings.transform) << std::endl;
    showHypothesis("B - H0 slope:           ", session.settings.slopeH0);
    if (session.settings.intercept)
        showHypothesis("A - H0 intercept:       ", session.settings.interceptH0);
    std::cout << "D - Display data        ";
    std::cout << "\nChoose a letter to change current setting. Press L to load data" << std::endl;
}

void printVariableList(const std::vector<std::string>& header)
{
    std::cout << "Variable list" << std::endl;
    for (std::size_t i = 0; i < header.size(); ++i)
        std::cout << i << ": " << header[i] << "\t";
    std::cout << "\n" << std::endl;
}

// Reads words, from first on, until one is a variable's index; returns it.
int askVariable(const std::vector<std::string>& header, std::string first)
{
    const int last = static_cast<int>(header.size()) - 1;
    return std::atoi(
        reaskUntil(std::move(first), [last](const std::string& w) { return isWholeNumberIn(w, 0, last); }).c_str());
}

void pickGrouping(const std::vector<std::string>& header, Session& session)
{
    std::cout << "Choose grouping variables (press c to clear)" << std::endl;
    const std::string first = readWord();
    if (first[0] == 'c')
        session.selection.grouping.clear();
    else
        session.selection.grouping.push_back(askVariable(header, first));
    session.loadDue = true;
}

// A new filter goes before the last one chosen.
void pickFilter(const std::vector<std::string>& header, Session& session)
{
    session.filtersPending = true;
    std::cout << "Choose filter variables (press c to clear)" << std::endl;
    const std::string first = readWord();
    auto& filters = session.selection.filters;
    session.loadDue = true;
    if (std::tolower(static_cast<unsigned char>(first[0])) == 'c') {
        filters.clear();
        return;
    }
    const FilterChoice filter{askVariable(header, first), {}};
    filters.insert(filters.empty() ? filters.end() : filters.end() - 1, filter);
}

// L: refuses to go on without Y and X; reads the chosen columns when they
// changed (keeping the filter decisions when the filters did not); asks the
// filter questions when they are due. True when loaded.
bool load(const DataFile& file, Session& session)
{
    ColumnSelection& chosen = session.selection;
    if (!chosen.y || !chosen.x) {
        std::cout << "\nCan't load data because missing X or Y variable" << std::endl;
        return false;
    }
    if (session.loadDue) {
        LoadedData loaded = loadColumns(file, chosen, session.lineCount);
        if (!session.filtersPending)
            for (std::size_t f = 0; f < loaded.filters.size(); ++f)
                loaded.filters[f].keep = std::move(session.data.filters[f].keep);
        session.data = std::move(loaded);
        session.loadDue = false;
    }
    if (session.filtersPending)
        for (std::size_t f = 0; f < chosen.filters.size(); ++f)
            session.data.filters[f].keep = askFilter(session.data.filters[f].column, chosen.filters[f]);
    session.filtersPending = false;
    return true;
}

// One line of the chosen columns as the display shows them: the line's
// number, its grouping (its cells joined by a blank), Y, X and filters (a
// scalar filter's cells by their classes), "-" for what is not chosen.
void displayLine(int r, std::string_view line, const ColumnSelection& chosen)
{
    const auto cell = [line](int k) { return std::string(cellOf(line, k)); };
    std::string grouping;
    for (std::size_t k = 0; k < chosen.grouping.size(); ++k)
        grouping += (k > 0 ? " " : "") + cell(chosen.grouping[k]);
    std::cout << r << "\t" << (chosen.grouping.empty() ? "-" : grouping) << "\t";
    for (const std::optional<int>& v : {chosen.y, chosen.x})
        std::cout << (v ? cell(*v) : "-") << "\t";
    if (chosen.filters.empty())
        std::cout << "-\t";
    for (const FilterChoice& filter : chosen.filters) {
        std::string text = cell(filter.variable);
        for (const ScalarClasses& classes : filter.classes)
            if (r > 0)
                text = scalarLabel(text, classes);
        std::cout << text << "\t";
    }
    std::cout << std::endl;
}

// Pages the chosen columns to the console, 21 lines a page.
void displayData(const DataFile& file, const Session& session)
{
    readRawChar();
    const int pageLines = 21;
    LineReader reader = file.lines();
    std::string_view line;
    int r = 0;
    while (r < session.lineCount) {
        std::cout << "Line\tGroups\tY\tX\tFilters\n";
        for (int i = 0; i < pageLines && r < session.lineCount; ++i, ++r)
            displayLine(r, reader.next(line) ? line : std::string_view(), session.selection);
        std::cout << "\nPress enter to continue";
        readRawChar();
    }
}

std::optional<double> askHypothesis(const char* prompt)
{
    const double value = std::atof(askValidated(prompt, false, isFiniteDecimal).c_str());
    return value == 0.0 ? std::nullopt : std::optional<double>(value);
}

// The transformations by their number on the screen.
const Transform transformsByNumber[] = {Transform::Log10, Transform::Ln, Transform::None};

// Acts on one letter; true when the data are loaded.
bool actOn(char choice, const DataFile& file, Session& session)
{
    AnalysisSettings& s = session.settings;
    const std::vector<std::string>& header = file.header();
    switch (choice) {
    case 'g':
        pickGrouping(header, session);
        break;
    case 'y':
        std::cout << "Choose Y variable" << std::endl;
        session.selection.y = askVariable(header, readWord());
        session.loadDue = true;
        break;
    case 'x':
        std::cout << "Choose X variable" << std::endl;
        session.selection.x = askVariable(header, readWord());
        session.loadDue = true;
        break;
    case 'f':
        pickFilter(header, session);
        break;
    case 't':
        s.transform = transformsByNumber[std::atoi(
            askValidated("Choose a transformation:\n\t0. log Y vs log X\n\t1. ln Y vs ln X\n\t2. linear Y vs linear X",
                         true, [](const std::string& w) { return isWholeNumberIn(w, 0, 2); })
                .c_str())];
        break;
    case 'b':
        s.slopeH0 = askHypothesis("\n Enter hypothesised slope value HO: b = ");
        break;
    case 'a':
        s.interceptH0 = askHypothesis("\n Enter hypothesised intercept value HO: a = ");
        break;
    case 'd':
        displayData(file, session);
        break;
    case 'l':
        return load(file, session);
    default:
        break;
    }
    return false;
}
} // namespace

void runDataInputScreen(Session& session)
{
    if (session.inputChanged) {
        session.forgetData();
        session.inputChanged = false;
    }
    const DataFile file(session.inputFile);
    if (session.lineCount == 0) {
        const LineCount count = file.countLines();
        session.lineCount = count.lines;
        writeShortRecordsWarning(std::cout, count.shortRecords, session.inputFile,
                                 static_cast<int>(file.header().size()));
    }
    for (;;) {
        display(session, file.header());
        const std::string entry = readWord();
        const char choice = static_cast<char>(std::tolower(static_cast<unsigned char>(entry[0])));
        if (choice != 'l' && choice != 'a' && choice != 'b' && choice != 'd')
            printVariableList(file.header());
        if (actOn(choice, file, session))
            return;
    }
}

} // namespace korvel
