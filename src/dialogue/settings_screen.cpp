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
constexpr Method methodsByNumber[] = {Method::OLS, Method::SMA, Method::MA};

void display(Console& console, const Session& session)
{
    const AnalysisSettings& s = session.settings;
    console.out << "\nKORVEL, v" << programVersion << "\n\nCURRENT SETTINGS" << std::endl;
    console.out << "I - Input File:       " << session.inputFile << std::endl;
    console.out << "O - Output File:      " << session.outputFile << std::endl;
    console.out << "M - Method:           " << namesOf(methodNames, s.method).screen << std::endl;
    console.out << "T - inTercept:        " << (s.intercept ? "Yes" : "No") << std::endl;
    console.out << "E - measuremet Error: " << (s.measurementError ? "Yes" : "No") << std::endl;
    console.out << "C - Confidence int:   " << s.confidence << "%" << std::endl;
    console.out << "G - min Group size:   " << s.minGroupSize << std::endl;
    console.out << "R - Resample:         " << namesOf(pvalueFromNames, s.pvalueFrom).screen << std::endl;
    console.out << "N - No. iterations:   ";
    if (s.pvalueFrom == PValueFrom::Resampling)
        console.out << s.iterations;
    else
        console.out << "na";
    console.out << std::endl;
    console.out << "P - critical P-value: " << s.criticalP << std::endl;
    console.out << "\nChoose a letter to change current setting. Press L to load data or x to exit" << std::endl;
}

// Reads a whole number in [lo, hi] after the prompt.
int askInt(Console& console, const std::string& prompt, bool withEndl, int lo, int hi)
{
    const std::string word =
        askValidated(console, prompt, withEndl, [lo, hi](const std::string& w) { return isWholeNumberIn(w, lo, hi); });
    return std::atoi(word.c_str());
}

// Acts on one letter of the screen.
void actOn(Console& console, char choice, Session& session)
{
    AnalysisSettings& s = session.settings;
    switch (choice) {
    case 'c':
        s.confidence = askInt(console, "\nEnter confidence level (1-100) -> ", false, settingLimits.confidenceLow,
                              settingLimits.confidenceHigh);
        break;
    case 'e':
        s.measurementError = askInt(console, "Include measurement error: \n\t0. No \n\t1. Yes", true, 0, 1) == 1;
        break;
    case 'g':
        s.minGroupSize = askInt(console, "\nEnter minimum group size (1-50) -> ", false, settingLimits.minGroupSizeLow,
                                settingLimits.minGroupSizeHigh);
        break;
    case 'i': {
        console.out << "\nEnter name of input filename-> ";
        const std::string name = readWord(console);
        session.inputChanged = name != session.inputFile;
        session.inputFile = name;
        break;
    }
    case 'l':
        runDataInputScreen(console, session);
        break;
    case 'm':
        s.method = methodsByNumber[askInt(console, "Choose the type of line you wish to fit: \n\t0. OLS - Ordinary Least "
                                              "Squares Regression\n\t1. SMA - standardised major axis (aka RMA)\n\t2. "
                                              "MA - major axis",
                                              true, 0, 2)];
        break;
    case 'n':
        s.iterations = std::atoi(askValidated(console, "\nEnter no iterations -> ", false, isWholeNumber).c_str());
        break;
    case 'o':
        // A report never replaces the data file.
        session.outputFile = askValidated(console, "\nEnter name of output filename-> ", false, [&session](const std::string& w) {
            return !sameFile(w, session.inputFile);
        });
        break;
    case 'p':
        s.criticalP = std::atof(askValidated(console, "\nEnter critical p value -> ", false, [](const std::string& w) {
                                    return isDecimalIn(w, static_cast<float>(settingLimits.criticalPLow),
                                                       static_cast<float>(settingLimits.criticalPHigh));
                                }).c_str());
        break;
    case 'r':
        s.pvalueFrom = askInt(console, "p-value for common slope test calculated with resampling or chi-squared distn: "
                              "\n\t0. Chi-squared\n\t1. Resampling (default)",
                              true, 0, 1) == 1
                           ? PValueFrom::Resampling
                           : PValueFrom::ChiSquared;
        break;
    case 't':
        s.intercept = askInt(console, "Include intercept: \n\t0. No (force through origin)\n\t1. Yes (default)", true, 0, 1) == 1;
        break;
    case 'x':
        console.out << "\nGoodBye" << std::endl;
        break;
    default:
        break;
    }
}
} // namespace

bool runSettingsScreen(Console& console, Session& session)
{
    for (;;) {
        display(console, session);
        const std::string entry = readWord(console);
        const char choice = static_cast<char>(std::tolower(static_cast<unsigned char>(entry[0])));
        actOn(console, choice, session);
        if (choice == 'l')
            return true;
        if (choice == 'x')
            return false;
    }
}

} // namespace korvel
