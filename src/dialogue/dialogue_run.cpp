#include "dialogue/dialogue_run.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "plot/plot_file.h"
#include "dialogue/not_opened.h"
#include "data/same_file.h"
#include "analysis/analysis_run.h"
#include "dialogue/console_choices.h"
#include "dialogue/console_input.h"
#include "dialogue/settings_screen.h"
#include "report/analysis_end.h"
#include "report/console_messages.h"
#include "report/plain_nan.h"

namespace korvel {

namespace {
// Opens the report (emptying it) unless it is open under the current name.
// False when it cannot be opened, or when it is the data file (a report never
// replaces or extends the data it reports on).
bool openReport(Console& console, std::ofstream& out, std::string& openName, const std::string& wanted,
                const std::string& dataFile)
{
    if (out.is_open() && wanted != openName)
        out.close();
    const bool isDataFile = sameFile(wanted, dataFile);
    if (!out.is_open() && !isDataFile) {
        openName = wanted;
        out.open(wanted, std::ios::out | std::ios::trunc);
    }
    if (out.is_open() && !isDataFile)
        return true;
    out.close();
    notOpened(console, FileNotOpened(wanted, isDataFile ? "it is the data file" : systemReason()));
#ifdef _WIN32
    // The console window would close before the message could be read.
    [[maybe_unused]] const int paused = std::system("pause");
#endif
    return false;
}
// The columns the screens loaded, for one analysis: the session keeps them
// (and outlives the analysis), so they are not copied.
Data loadedData(const Session& session)
{
    Data data;
    data.columns = std::shared_ptr<const LoadedData>(std::shared_ptr<const LoadedData>(), &session.data);
    return data;
}
} // namespace

int runDialogue(const DialogueOptions& options, Console& console)
{
    std::ofstream report;
    writeNaNPlainly(report);
    writeNaNPlainly(console.out);
    std::string openName;
    Session session;
    if (!options.dataFile.empty())
        session.inputFile = options.dataFile;
    int analyses = 0;
    RandomStream random(options.seed);
    try {
        while (runSettingsScreen(console, session)) {
            if (!openReport(console, report, openName, session.outputFile, session.data.filename))
                return 1;
            ConsoleChoices choices(console);
            MessageWriter events(console.out, MessageStyle::Dialogue);
            AnalysisStreams streams{report, console.out, console.out, events, openName};
            const Analysis analysis = runAnalysis(session.settings, loadedData(session), choices, streams, random);
            writeAnalysisEnd(report);
            ++analyses;
            if (options.plot)
                writeAnalysisPlot(plotFileName(openName, analyses), analysis, options.vector, console.out);
        }
    } catch (const EndOfInput&) {
        console.out << "\nGoodBye" << std::endl;
    } catch (const FileNotOpened& file) {
        return notOpened(console, file);
    }
    return 1;
}

} // namespace korvel
