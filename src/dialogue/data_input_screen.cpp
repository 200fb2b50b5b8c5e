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
void showHypothesis(Console& console, const char* label, const std::optional<double>& value)
{
    console.out << label;
    if (value)
        console.out << *value;
    else
        console.out << "none";
    console.out << std::endl;
}

// The name of a chosen variable, "none" when there is none.
std::string nameOf(const std::vector<std::string>& header, const std::optional<int>& variable)
{
    return variable ? header[static_cast<std::size_t>(*variable)] : "none";
}

void display(Console& console, const Session& session, const std::vector<std::string>& header)
{
    const ColumnSelection& chosen = session.selection;
    console.out << "\nDATA INPUT - settings" << std::endl;
    console.out << "G - Grouping variable:  " << groupingName(header, chosen.grouping) << std::endl;
    console.out << "Y - y variable:         " << nameOf(header, chosen.y) << std::endl;
    console.out << "X - x variable:         " << nameOf(header, chosen.x) << std::endl;
    console.out << "F - Filter variable:    ";
    for (const FilterChoice& filter : chosen.filters)
        console.out << nameOf(header, filter.variable) << " ";
    if (chosen.filters.empty())
        console.out << "none ";
    console.out << std::endl;
    console.out << "T - Transformation:     " << namesOf(transformNames, session.settings.transform).screen << std::endl;
    showHypothesis(console, "B - H0 slope:           ", session.settings.slopeH0);
    if (session.settings.intercept)
        showHypothesis(console, "A - H0 intercept:       ", session.settings.interceptH0);
    console.out << "D - Display data        ";
    console.out << "\nChoose a letter to change current setting. Press L to load data" << std::endl;
}

void printVariableList(Console& console, const std::vector<std::string>& header)
{
    console.out << "Variable list" << std::endl;
    for (std::size_t i = 0; i < header.size(); ++i)
        console.out << i << ": " << header[i] << "\t";
    console.out << "\n" << std::endl;
}

// Reads words, from first on, until one is a variable's index; returns it.
int askVariable(Console& console, const std::vector<std::string>& header, std::string first)
{
    const int last = static_cast<int>(header.size()) - 1;
    return std::atoi(
        reaskUntil(console, std::move(first), [last](const std::string& w) { return isWholeNumberIn(w, 0, last); }).c_str());
}

void pickGrouping(Console& console, const std::vector<std::string>& header, Session& session)
{
    console.out << "Choose grouping variables (press c to clear)" << std::endl;
    const std::string first = readWord(console);
    if (first[0] == 'c')
        session.selection.grouping.clear();
    else
        session.selection.grouping.push_back(askVariable(console, header, first));
    session.loadDue = true;
}

// A new filter goes before the last one chosen.
void pickFilter(Console& console, const std::vector<std::string>& header, Session& session)
{
    session.filtersPending = true;
    console.out << "Choose filter variables (press c to clear)" << std::endl;
    const std::string first = readWord(console);
    auto& filters = session.selection.filters;
    session.loadDue = true;
    if (std::tolower(static_cast<unsigned char>(first[0])) == 'c') {
        filters.clear();
        return;
    }
    const FilterChoice filter{askVariable(console, header, first), {}};
    filters.insert(filters.empty() ? filters.end() : filters.end() - 1, filter);
}

// L: refuses to go on without Y and X; reads the chosen columns when they
// changed (keeping the filter decisions when the filters did not); asks the
// filter questions when they are due. True when loaded.
bool load(Console& console, const DataFile& file, Session& session)
{
    ColumnSelection& chosen = session.selection;
    if (!chosen.y || !chosen.x) {
        console.out << "\nCan't load data because missing X or Y variable" << std::endl;
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
            session.data.filters[f].keep = askFilter(console, session.data.filters[f].column, chosen.filters[f]);
    session.filtersPending = false;
    return true;
}

// One line of the chosen columns as the display shows them: the line's
// number, its grouping (its cells joined by a blank), Y, X and filters (a
// scalar filter's cells by their classes), "-" for what is not chosen.
void displayLine(Console& console, int r, std::string_view line, const ColumnSelection& chosen)
{
    const auto cell = [line](int k) { return std::string(cellOf(line, k)); };
    std::string grouping;
    for (std::size_t k = 0; k < chosen.grouping.size(); ++k)
        grouping += (k > 0 ? " " : "") + cell(chosen.grouping[k]);
    console.out << r << "\t" << (chosen.grouping.empty() ? "-" : grouping) << "\t";
    for (const std::optional<int>& v : {chosen.y, chosen.x})
        console.out << (v ? cell(*v) : "-") << "\t";
    if (chosen.filters.empty())
        console.out << "-\t";
    for (const FilterChoice& filter : chosen.filters) {
        std::string text = cell(filter.variable);
        for (const ScalarClasses& classes : filter.classes)
            if (r > 0)
                text = scalarLabel(text, classes);
        console.out << text << "\t";
    }
    console.out << std::endl;
}

// Pages the chosen columns to the console, 21 lines a page.
void displayData(Console& console, const DataFile& file, const Session& session)
{
    readRawChar(console);
    const int pageLines = 21;
    LineReader reader = file.lines();
    std::string_view line;
    int r = 0;
    while (r < session.lineCount) {
        console.out << "Line\tGroups\tY\tX\tFilters\n";
        for (int i = 0; i < pageLines && r < session.lineCount; ++i, ++r)
            displayLine(console, r, reader.next(line) ? line : std::string_view(), session.selection);
        console.out << "\nPress enter to continue";
        readRawChar(console);
    }
}

// A hypothesised slope or intercept. The screen takes digits and a point
// only, so 0 is the one value it can show as "none": 0 stands for no
// hypothesis here (the command line and the packages test any value, 0
// included).
std::optional<double> askHypothesis(Console& console, const char* prompt)
{
    const double value = std::atof(askValidated(console, prompt, false, isFiniteDecimal).c_str());
    return value == 0.0 ? std::nullopt : std::optional<double>(value);
}

// The transformations by their number on the screen.
constexpr Transform transformsByNumber[] = {Transform::Log10, Transform::Ln, Transform::None};

// Acts on one letter; true when the data are loaded.
bool actOn(Console& console, char choice, const DataFile& file, Session& session)
{
    AnalysisSettings& s = session.settings;
    const std::vector<std::string>& header = file.header();
    switch (choice) {
    case 'g':
        pickGrouping(console, header, session);
        break;
    case 'y':
        console.out << "Choose Y variable" << std::endl;
        session.selection.y = askVariable(console, header, readWord(console));
        session.loadDue = true;
        break;
    case 'x':
        console.out << "Choose X variable" << std::endl;
        session.selection.x = askVariable(console, header, readWord(console));
        session.loadDue = true;
        break;
    case 'f':
        pickFilter(console, header, session);
        break;
    case 't':
        s.transform = transformsByNumber[std::atoi(
            askValidated(console, "Choose a transformation:\n\t0. log Y vs log X\n\t1. ln Y vs ln X\n\t2. linear Y vs linear X",
                         true, [](const std::string& w) { return isWholeNumberIn(w, 0, 2); })
                .c_str())];
        break;
    case 'b':
        s.slopeH0 = askHypothesis(console, "\n Enter hypothesised slope value HO: b = ");
        break;
    case 'a':
        s.interceptH0 = askHypothesis(console, "\n Enter hypothesised intercept value HO: a = ");
        break;
    case 'd':
        displayData(console, file, session);
        break;
    case 'l':
        return load(console, file, session);
    default:
        break;
    }
    return false;
}
} // namespace

void runDataInputScreen(Console& console, Session& session)
{
    if (session.inputChanged) {
        session.forgetData();
        session.inputChanged = false;
    }
    const DataFile file(session.inputFile);
    if (session.lineCount == 0) {
        const LineCount count = file.countLines();
        session.lineCount = count.lines;
        writeShortRecordsWarning(console.out, count.shortRecords, session.inputFile,
                                 static_cast<int>(file.header().size()));
    }
    for (;;) {
        display(console, session, file.header());
        const std::string entry = readWord(console);
        const char choice = static_cast<char>(std::tolower(static_cast<unsigned char>(entry[0])));
        if (choice != 'l' && choice != 'a' && choice != 'b' && choice != 'd')
            printVariableList(console, file.header());
        if (actOn(console, choice, file, session))
            return;
    }
}

} // namespace korvel
