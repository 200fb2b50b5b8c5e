// The data-input screen: picks the grouping, Y, X and filter variables, the
// transformation and the hypothesised values, and loads the data.
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "Menu.h"
#include "console.h"
#include "datafile.h"
#include "filter_questions.h"
#include "report_file.h"
#include "text.h"

bool Menu::inputData()
{
    choice = '0';
    if (input_changed == 'y')
        clear_profile();
    openDataFile();
    while (choice != 'l') {
        display_input();
        readChoice();
        if (choice != 'l' && choice != 'a' && choice != 'b' && choice != 'd')
            printVariableList();
        actOnInput();
    }
    data.close();
    return true;
}

void Menu::openDataFile()
{
    data.close();
    data.clear();
    // A folder opens as a stream but holds no data.
    std::error_code ec;
    if (!std::filesystem::is_directory(input_file, ec))
        data.open(input_file, std::ios::in | std::ios::binary);
    if (!data.is_open())
        fileNotOpened(input_file);
    prof.filename = input_file;
    header = readHeader(data);
    if (prof.n_lines == 0) {
        const int nCells = static_cast<int>(header.size());
        const LineCount count = countLines(data, nCells);
        prof.n_lines = count.lines;
        if (count.shortRecords > 0)
            std::cout << "Warning: " << count.shortRecords << " line(s) of " << input_file << " do not have "
                      << nCells << " cells" << std::endl;
    }
}

// One hypothesised-value line: "none" for 0, else the value in the console's
// current number format.
static void showHypothesis(const char* label, double value)
{
    std::cout << label;
    if (value == 0.0)
        std::cout << "none";
    else
        std::cout << value;
    std::cout << std::endl;
}

void Menu::display_input() const
{
    const auto& cols = prof.columns;
    std::cout << "\nDATA INPUT - settings" << std::endl;
    std::cout << "G - Grouping variable:  " << cols[0][0] << std::endl;
    std::cout << "Y - y variable:         " << cols[1][0] << std::endl;
    std::cout << "X - x variable:         " << cols[2][0] << std::endl;
    std::cout << "F - Filter variable:    ";
    for (std::size_t i = 3; i < cols.size(); ++i)
        std::cout << cols[i][0] << " ";
    std::cout << std::endl;
    std::cout << "T - Transformation:     "
              << (prof.transform == 0   ? "log Y vs log X"
                  : prof.transform == 1 ? "ln Y vs ln X"
                                        : "linear Y vs linear X")
              << std::endl;
    showHypothesis("B - H0 slope:           ", prof.H0_b);
    if (prof.intercept != 0)
        showHypothesis("A - H0 intercept:       ", prof.H0_a);
    std::cout << "D - Display data        ";
    std::cout << "\nChoose a letter to change current setting. Press L to load data" << std::endl;
}

void Menu::printVariableList() const
{
    std::cout << "Variable list" << std::endl;
    for (std::size_t i = 0; i < header.size(); ++i)
        std::cout << i << ": " << header[i] << "\t";
    std::cout << "\n" << std::endl;
}

std::string Menu::askVariableIndex(std::string first)
{
    const int last = static_cast<int>(header.size()) - 1;
    return reaskUntil(std::move(first), [last](const std::string& w) { return isBetween(w, 0, last); });
}

// Reads the column of the accepted variable index.
static std::vector<std::string> readColumn(std::ifstream& data, const std::string& index, int nLines)
{
    return extractColumn(data, std::atoi(index.c_str()), nLines);
}

void Menu::pickGrouping()
{
    std::cout << "Choose grouping variables (press c to clear)" << std::endl;
    entry = readWord();
    auto& groupList = prof.columns[0];
    if (entry[0] == 'c') {
        groupList = {"none"};
        return;
    }
    entry = askVariableIndex(entry);
    const auto column = readColumn(data, entry, prof.n_lines);
    if (groupList[0] == "none") {
        groupList = column;
        return;
    }
    // Several grouping variables: each line's group name joins their values.
    for (std::size_t i = 0; i < groupList.size() && i < column.size(); ++i)
        groupList[i] += " " + column[i];
}

void Menu::pickFilter()
{
    filters_pending = 'y';
    prof.filter_maps.clear();
    std::cout << "Choose filter variables (press c to clear)" << std::endl;
    entry = readWord();
    auto& cols = prof.columns;
    if (std::tolower(static_cast<unsigned char>(entry[0])) == 'c') {
        cols.resize(3);
        cols.push_back({"none"});
        return;
    }
    entry = askVariableIndex(entry);
    auto column = readColumn(data, entry, prof.n_lines);
    if (cols[3][0] == "none")
        cols.back() = std::move(column);
    else
        cols.insert(cols.end() - 1, std::move(column));
}

void Menu::loadStep()
{
    auto& cols = prof.columns;
    if (cols[1][0] == "none" || cols[2][0] == "none") {
        std::cout << "\nCan't load data because missing X or Y variable" << std::endl;
        choice = 'b';
        return;
    }
    if (cols[0][0] == "none")
        cols[0].resize(static_cast<std::size_t>(prof.n_lines), "none");
    if (cols[3][0] != "none" && filters_pending == 'y') {
        prof.filter_maps.clear();
        for (std::size_t f = 3; f < cols.size(); ++f)
            prof.filter_maps.push_back(askFilter(cols[f]));
    }
    filters_pending = 'n';
}

void Menu::actOnInput()
{
    switch (choice) {
    case 'g':
        pickGrouping();
        break;
    case 'y':
        std::cout << "Choose Y variable" << std::endl;
        entry = askVariableIndex(readWord());
        prof.columns[1] = readColumn(data, entry, prof.n_lines);
        break;
    case 'x':
        std::cout << "Choose X variable" << std::endl;
        entry = askVariableIndex(readWord());
        prof.columns[2] = readColumn(data, entry, prof.n_lines);
        break;
    case 'f':
        pickFilter();
        break;
    case 't':
        entry = askValidated("Choose a transformation:\n\t0. log Y vs log X\n\t1. ln Y vs ln X\n\t2. linear Y vs "
                             "linear X",
                             true, [](const std::string& w) { return isBetween(w, 0, 2); });
        prof.transform = std::atoi(entry.c_str());
        break;
    case 'b':
        entry = askValidated("\n Enter hypothesised slope value HO: b = ", false, isFiniteDecimal);
        prof.H0_b = std::atof(entry.c_str());
        break;
    case 'a':
        entry = askValidated("\n Enter hypothesised intercept value HO: a = ", false, isFiniteDecimal);
        prof.H0_a = std::atof(entry.c_str());
        break;
    case 'd':
        display_data();
        break;
    case 'l':
        loadStep();
        break;
    default:
        break;
    }
}

void Menu::display_data()
{
    readRawChar();
    const int pageLines = 21;
    int r = 0;
    while (r < prof.n_lines) {
        std::cout << "Line\tGroups\tY\tX\tFilters\n";
        for (int i = 0; i < pageLines && r < prof.n_lines; ++i, ++r) {
            std::cout << r << "\t";
            for (const auto& list : prof.columns) {
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
