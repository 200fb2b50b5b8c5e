#include "dialogue/data_input_screen.h"

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <utility>

#include "data/data_file.h"
#include "data/text_checks.h"
#include "dialogue/console_input.h"
#include "dialogue/filter_questions.h"
#include "dialogue/run_ending.h"
#include "report/console_messages.h"

namespace {
// The screen while it is open: the data file and its variable names.
struct OpenDataFile {
    std::unique_ptr<std::istream> file;
    std::vector<std::string> header;
};

OpenDataFile openDataFile(Session& session)
{
    OpenDataFile open;
    OpenedData opened = openData(session.inputFile);
    if (!opened.stream)
        throw FileNotOpened{session.inputFile, opened.problem};
    open.file = std::move(opened.stream);
    LoadedData& data = session.data;
    data.filename = session.inputFile;
    open.header = readHeader(*open.file);
    if (data.lineCount == 0) {
        const int nCells = static_cast<int>(open.header.size());
        const LineCount count = countLines(*open.file, nCells);
        data.lineCount = count.lines;
        writeShortRecordsWarning(std::cout, count.shortRecords, session.inputFile, nCells);
    }
    return open;
}

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

void display(const Session& session)
{
    const auto& cols = session.data.columns;
    std::cout << "\nDATA INPUT - settings" << std::endl;
    std::cout << "G - Grouping variable:  " << cols[GroupColumn][0] << std::endl;
    std::cout << "Y - y variable:         " << cols[YColumn][0] << std::endl;
    std::cout << "X - x variable:         " << cols[XColumn][0] << std::endl;
    std::cout << "F - Filter variable:    ";
    for (std::size_t i = FirstFilterColumn; i < cols.size(); ++i)
        std::cout << cols[i][0] << " ";
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

// Reads words, from first on, until one is a variable index; returns its column.
Column askColumn(OpenDataFile& open, const Session& session, std::string first)
{
    const int last = static_cast<int>(open.header.size()) - 1;
    const std::string index =
        reaskUntil(std::move(first), [last](const std::string& w) { return isBetween(w, 0, last); });
    return extractColumn(*open.file, std::atoi(index.c_str()), session.data.lineCount);
}

void pickGrouping(OpenDataFile& open, Session& session)
{
    std::cout << "Choose grouping variables (press c to clear)" << std::endl;
    const std::string first = readWord();
    if (first[0] == 'c') {
        session.data.columns[GroupColumn] = {"none"};
        return;
    }
    session.data.addGrouping(askColumn(open, session, first));
}

void pickFilter(OpenDataFile& open, Session& session)
{
    LoadedData& data = session.data;
    data.filtersPending = true;
    data.filterMaps.clear();
    std::cout << "Choose filter variables (press c to clear)" << std::endl;
    const std::string first = readWord();
    auto& cols = data.columns;
    if (std::tolower(static_cast<unsigned char>(first[0])) == 'c') {
        cols.resize(FirstFilterColumn);
        cols.push_back({"none"});
        return;
    }
    Column column = askColumn(open, session, first);
    if (!data.chosen(FirstFilterColumn))
        cols.back() = std::move(column);
    else
        cols.insert(cols.end() - 1, std::move(column));
}

// L: refuses to go on without Y and X; fills a missing grouping column with
// "none"; asks the filter questions when they are due. True when loaded.
bool load(Session& session)
{
    LoadedData& data = session.data;
    auto& cols = data.columns;
    if (!data.chosen(YColumn) || !data.chosen(XColumn)) {
        std::cout << "\nCan't load data because missing X or Y variable" << std::endl;
        return false;
    }
    data.fillMissingGrouping();
    if (data.chosen(FirstFilterColumn) && data.filtersPending) {
        data.filterMaps.clear();
        for (std::size_t f = FirstFilterColumn; f < cols.size(); ++f)
            data.filterMaps.push_back(askFilter(cols[f]));
    }
    data.filtersPending = false;
    return true;
}

// Pages the chosen columns to the console, 21 lines a page.
void displayData(const LoadedData& data)
{
    readRawChar();
    const int pageLines = 21;
    int r = 0;
    while (r < data.lineCount) {
        std::cout << "Line\tGroups\tY\tX\tFilters\n";
        for (int i = 0; i < pageLines && r < data.lineCount; ++i, ++r) {
            std::cout << r << "\t";
            for (const Column& list : data.columns) {
                if (list[0] == "none")
                    std::cout << "-\t";
                else
                    std::cout << list[static_cast<std::size_t>(r)] << "\t";
            }
            std::cout << std::endl;
        }
        std::cout << "\nPress enter to continue";
        readRawChar();
    }
}

std::optional<double> askHypothesis(const char* prompt)
{
    const double value = std::atof(askValidated(prompt, false, isFiniteDecimal).c_str());
    return value == 0.0 ? std::nullopt : std::optional<double>(value);
}

// Acts on one letter; true when the data are loaded.
bool actOn(char choice, OpenDataFile& open, Session& session)
{
    AnalysisSettings& s = session.settings;
    switch (choice) {
    case 'g':
        pickGrouping(open, session);
        break;
    case 'y':
        std::cout << "Choose Y variable" << std::endl;
        session.data.columns[YColumn] = askColumn(open, session, readWord());
        break;
    case 'x':
        std::cout << "Choose X variable" << std::endl;
        session.data.columns[XColumn] = askColumn(open, session, readWord());
        break;
    case 'f':
        pickFilter(open, session);
        break;
    case 't':
        s.transform = static_cast<Transform>(std::atoi(
            askValidated("Choose a transformation:\n\t0. log Y vs log X\n\t1. ln Y vs ln X\n\t2. linear Y vs linear X",
                         true, [](const std::string& w) { return isBetween(w, 0, 2); })
                .c_str()));
        break;
    case 'b':
        s.slopeH0 = askHypothesis("\n Enter hypothesised slope value HO: b = ");
        break;
    case 'a':
        s.interceptH0 = askHypothesis("\n Enter hypothesised intercept value HO: a = ");
        break;
    case 'd':
        displayData(session.data);
        break;
    case 'l':
        return load(session);
    default:
        break;
    }
    return false;
}
} // namespace

void runDataInputScreen(Session& session)
{
    if (session.inputChanged) {
        session.data.clear();
        session.inputChanged = false;
    }
    OpenDataFile open = openDataFile(session);
    for (;;) {
        display(session);
        const std::string entry = readWord();
        const char choice = static_cast<char>(std::tolower(static_cast<unsigned char>(entry[0])));
        if (choice != 'l' && choice != 'a' && choice != 'b' && choice != 'd')
            printVariableList(open.header);
        if (actOn(choice, open, session))
            return;
    }
}
