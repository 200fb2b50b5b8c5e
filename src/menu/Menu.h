// The two console screens (settings and data input) and the profile they fill.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "profile.h"

class Menu {
public:
    // Every setting at its default, four "none" column lists, files
    // "input.txt" and "output.txt".
    Menu();

    profile& getProfile() { return prof; }
    std::string getOutfilenme() const { return output_file; }
    bool isExit() const { return choice == 'x'; }
    // Makes the next set() show the settings screen again.
    void reEnter() { choice = 1; }
    // Forgets the loaded data (columns, line count, filter maps); keeps every
    // setting, the hypothesised values and the file names.
    void clear_profile();

    // Settings screen: shows the settings and acts on one letter at a time
    // until the user loads data (L, through the data-input screen) or exits
    // (x). The caller tests isExit().
    void set();
    void display() const;

    // Data-input screen: opens the data file (ends the program with status 1
    // when it cannot), lets the user pick the variables and returns true once
    // the data are loaded with L.
    bool inputData();
    void display_input() const;
    // Pages the selected columns to the console, 21 lines a page.
    void display_data();

private:
    profile prof;
    std::string input_file = "input.txt";
    std::string output_file = "output.txt";
    std::string previous_input_file = "input.txt";
    std::string entry;
    char choice = '0';
    char filters_pending = 'y';
    char input_changed = 'n';

    // Data-input screen state, valid while the screen is open.
    std::ifstream data;
    std::vector<std::string> header;

    void readChoice();
    void actOnSetting();
    void openDataFile();
    void printVariableList() const;
    void actOnInput();
    std::string askVariableIndex(std::string first);
    void pickGrouping();
    void pickFilter();
    void loadStep();
};
