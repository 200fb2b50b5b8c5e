// KORVEL: fits lines to grouped measurements and compares them among groups.
// Without Y and X on the command line, the settings and data-input screens
// alternate with analyses; with them, one analysis runs from the options.
#include <cstdlib>
#include <iostream>


#include "cli/command_line.h"
#include "dialogue/dialogue_run.h"
#include "cli/script_run.h"
#include "data/version.h"

using namespace korvel;

namespace {
int usageError(const UsageError& e)
{
    std::cerr << "korvel: " << e.what() << "\nTry 'korvel --help'." << std::endl;
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    try {
        const Invocation inv = parseCommandLine(argc, argv);
        switch (inv.mode) {
        case Invocation::Help:
            std::cout << helpText();
            return 0;
        case Invocation::Version:
            std::cout << "KORVEL " << programVersion << std::endl;
            return 0;
        case Invocation::Analysis:
            return runFromOptions(inv);
        default: {
            Console console{std::cin, std::cout, std::cerr};
            return runDialogue({inv.dataFile, inv.plot, inv.vector, inv.seed.value_or(1)}, console);
        }
        }
    } catch (const UsageError& e) {
        return usageError(e);
    }
}
