#include "run.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "Menu.h"
#include "plain_nan.h"
#include "SMAstats.h"
#include "report_file.h"
#include "same_file.h"

namespace {
// Opens the report (emptying it) unless it is open under the current name.
// Ends the run when it cannot be opened, or when it is the data file (a
// report never replaces or extends the data it reports on).
void openReport(std::ofstream& out, std::string& openName, const std::string& wanted, const std::string& dataFile)
{
    if (out.is_open() && wanted != openName)
        out.close();
    const bool isDataFile = sameFile(wanted, dataFile);
    if (!out.is_open() && !isDataFile) {
        openName = wanted;
        out.open(wanted, std::ios::out | std::ios::trunc);
    }
    if (!out.is_open() || isDataFile) {
        out.close();
        setReportFile(nullptr, "");
        std::cerr << "File " << wanted << " not opened" << std::endl;
        [[maybe_unused]] const int paused = std::system("pause");
        endRun();
    }
    setReportFile(&out, openName);
}

void runAnalysis(profile& prof, std::ofstream& out)
{
    SMAstats analysis;
    analysis.input(prof, out);
    analysis.fit_individual(prof);
    analysis.print_individual_details(prof, out);
    out << std::endl;
    if (analysis.test_common(prof, out))
        analysis.ANCOVA(prof, out);
    else
        analysis.slope_postHoc(prof, out);
}
// Forgets the report when the run's stream goes, however the run is left.
struct ReportRegistration {
    ~ReportRegistration() { setReportFile(nullptr, ""); }
};
} // namespace

int runKorvel()
{
    std::ofstream out;
    writeNaNPlainly(out);
    writeNaNPlainly(std::cout);
    const ReportRegistration registration;
    std::string openName;
    Menu menu;
    for (;;) {
        menu.set();
        if (menu.isExit())
            return 1;
        openReport(out, openName, menu.getOutfilenme(), menu.getProfile().filename);
        runAnalysis(menu.getProfile(), out);
        out << std::string(100, '-') << "\n" << std::endl;
        menu.reEnter();
    }
}
