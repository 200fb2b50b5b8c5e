// The settings screen: one line per setting, each with its letter.
#include <cstdlib>
#include <iostream>

#include "Menu.h"
#include "console.h"
#include "same_file.h"
#include "text.h"

void Menu::display() const
{
    std::cout << "\nKORVEL, v2.0\n\nCURRENT SETTINGS" << std::endl;
    std::cout << "I - Input File:       " << input_file << std::endl;
    std::cout << "O - Output File:      " << output_file << std::endl;
    std::cout << "M - Method:           "
              << (prof.method == 0 ? "OLS" : prof.method == 1 ? "SMA" : "MA") << std::endl;
    std::cout << "T - inTercept:        " << (prof.intercept == 1 ? "Yes" : "No") << std::endl;
    std::cout << "E - measuremet Error: " << (prof.meas_error == 1 ? "Yes" : "No") << std::endl;
    std::cout << "C - Confidence int:   " << prof.conf_level << "%" << std::endl;
    std::cout << "G - min Group size:   " << prof.min_group_size << std::endl;
    std::cout << "R - Resample:         " << (prof.resample == 1 ? "Yes" : "No") << std::endl;
    std::cout << "N - No. iterations:   ";
    if (prof.resample == 1)
        std::cout << prof.n_iterations;
    else
        std::cout << "na";
    std::cout << std::endl;
    std::cout << "P - critical P-value: " << prof.crit_p << std::endl;
    std::cout << "\nChoose a letter to change current setting. Press L to load data or x to exit"
              << std::endl;
}

void Menu::set()
{
    while (choice != 'l' && choice != 'x') {
        display();
        readChoice();
        actOnSetting();
    }
}

// Reads a whole number in [lo, hi] after the prompt.
static int askInt(const std::string& prompt, bool withEndl, int lo, int hi)
{
    const std::string word = askValidated(prompt, withEndl,
                                          [lo, hi](const std::string& w) { return isBetween(w, lo, hi); });
    return std::atoi(word.c_str());
}

void Menu::actOnSetting()
{
    switch (choice) {
    case 'c':
        prof.conf_level = askInt("\nEnter confidence level (1-100) -> ", false, 1, 100);
        break;
    case 'e':
        prof.meas_error = askInt("Include measurement error: \n\t0. No \n\t1. Yes", true, 0, 1);
        break;
    case 'g':
        prof.min_group_size = askInt("\nEnter minimum group size (1-50) -> ", false, 1, 50);
        break;
    case 'i':
        std::cout << "\nEnter name of input filename-> ";
        previous_input_file = input_file;
        entry = readWord();
        input_file = entry;
        input_changed = (input_file == previous_input_file) ? 'n' : 'y';
        break;
    case 'l':
        inputData();
        break;
    case 'm':
        prof.method = askInt("Choose the type of line you wish to fit: \n\t0. OLS - Ordinary Least Squares "
                             "Regression\n\t1. SMA - standardised major axis (aka RMA)\n\t2. MA - major axis",
                             true, 0, 2);
        break;
    case 'n':
        entry = askValidated("\nEnter no iterations -> ", false, isIntegerInRange);
        prof.n_iterations = std::atoi(entry.c_str());
        break;
    case 'o':
        // A report never replaces the data file.
        entry = askValidated("\nEnter name of output filename-> ", false,
                             [this](const std::string& w) { return !sameFile(w, input_file); });
        output_file = entry;
        break;
    case 'p':
        entry = askValidated("\nEnter critical p value -> ", false,
                             [](const std::string& w) { return isBetween_dec(w, 0.0f, 1.0f); });
        prof.crit_p = std::atof(entry.c_str());
        break;
    case 'r':
        prof.resample = askInt("p-value for common slope test calculated with resampling or chi-squared "
                               "distn: \n\t0. Chi-squared\n\t1. Resampling (default)",
                               true, 0, 1);
        break;
    case 't':
        prof.intercept = askInt("Include intercept: \n\t0. No (force through origin)\n\t1. Yes (default)",
                                true, 0, 1);
        break;
    case 'x':
        std::cout << "\nGoodBye" << std::endl;
        break;
    default:
        break;
    }
}
