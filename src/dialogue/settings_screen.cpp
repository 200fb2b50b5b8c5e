#include "dialogue/settings_screen.h"

#include <cctype>
#include <cstdlib>
#include <iostream>

#include "data/same_file.h"
#include "data/version.h"
#include "data/entry_checks.h"
#include "dialogue/console_input.h"
#include "dialogue/data_input_screen.h"

namespace korvel {

namespace {
// The methods by their number on the screen.
const Method methodsByNumber[] = {Method::OLS, Method::SMA, Method::MA};

void display(const Session& session)
{
    const AnalysisSettings& s = session.settings;
    std::cout << "\nKORVEL, v" << programVersion << "\n\nCURRENT SETTINGS" << std::endl;
    std::cout << "I - Input File:       " << session.inputFile << std::endl;
    std::cout << "O - Output File:      " << session.outputFile << std::endl;
    std::cout << "M - Method:           " << namesOf(methodNames, s.method).report << std::endl;
    std::cout << "T - inTercept:        " << (s.intercept ? "Yes" : "No") << std::endl;
    std::cout << "E - measuremet Error: " << (s.measurementError ? "Yes" : "No") << std::endl;
    std::cout << "C - Confidence int:   " << s.confidence << "%" << std::endl;
    std::cout << "G - min Group size:   " << s.minGroupSize << std::endl;
    std::cout << "R - Resample:         " << (s.pvalueFrom == PValueFrom::Resampling ? "Yes" : "No") << std::endl;
    std::cout << "N - No. iterations:   ";
    if (s.pvalueFrom == PValueFrom::Resampling)
        std::cout << s.iterations;
    else
        std::cout << "na";
    std::cout << std::endl;
    std::cout << "P - critical P-value: " << s.criticalP << std::endl;
    std::cout << "\nChoose a letter to change current setting. Press L to load data or x to exit" << std::endl;
}

// Reads a whole number in [lo, hi] after the prompt.
int askInt(const std::string& prompt, bool withEndl, int lo, int hi)
{
    const std::string word =
        askValidated(prompt, withEndl, [lo, hi](const std::string& w) { return isWholeNumberIn(w, lo, hi); });
    return std::atoi(word.c_str());
}

// Acts on one letter of the screen.
void actOn(char choice, Session& session)
{
    AnalysisSettings& s = session.settings;
    switch (choice) {
    case 'c':
        s.confidence = askInt("\nEnter confidence level (1-100) -> ", false, 1, 100);
        break;
    case 'e':
        s.measurementError = askInt("Include measurement error: \n\t0. No \n\t1. Yes", true, 0, 1) == 1;
        break;
    case 'g':
        s.minGroupSize = askInt("\nEnter minimum group size (1-50) -> ", false, 1, 50);
        break;
    case 'i': {
        std::cout << "\nEnter name of input filename-> ";
        const std::string name = readWord();
        session.inputChanged = name != session.inputFile;
        session.inputFile = name;
        break;
    }
    case 'l':
        runDataInputScreen(session);
        break;
    case 'm':
        s.method = methodsByNumber[askInt("Choose the type of line you wish to fit: \n\t0. OLS - Ordinary Least "
                                              "Squares Regression\n\t1. SMA - standardised major axis (aka RMA)\n\t2. "
                                              "MA - major axis",
                                              true, 0, 2)];
        break;
    case 'n':
        s.iterations = std::atoi(askValidated("\nEnter no iterations -> ", false, isWholeNumber).c_str());
        break;
    case 'o':
        // A report never replaces the data file.
        session.outputFile = askValidated("\nEnter name of output filename-> ", false, [&session](const std::string& w) {
            return !sameFile(w, session.inputFile);
        });
        break;
    case 'p':
        s.criticalP = std::atof(askValidated("\nEnter critical p value -> ", false, [](const std::string& w) {
                                    return isDecimalIn(w, 0.0f, 1.0f);
                                }).c_str());
        break;
    case 'r':
        s.pvalueFrom = askInt("p-value for common slope test calculated with resampling or chi-squared distn: "
                              "\n\t0. Chi-squared\n\t1. Resampling (default)",
                              true, 0, 1) == 1
                           ? PValueFrom::Resampling
                           : PValueFrom::ChiSquared;
        break;
    case 't':
        s.intercept = askInt("Include intercept: \n\t0. No (force through origin)\n\t1. Yes (default)", true, 0, 1) == 1;
        break;
    case 'x':
        std::cout << "\nGoodBye" << std::endl;
        break;
    default:
        break;
    }
}
} // namespace

bool runSettingsScreen(Session& session)
{
    for (;;) {
        display(session);
        const std::string entry = readWord();
        const char choice = static_cast<char>(std::tolower(static_cast<unsigned char>(entry[0])));
        actOn(choice, session);
        if (choice == 'l')
            return true;
        if (choice == 'x')
            return false;
    }
}

} // namespace korvel
