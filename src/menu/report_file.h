// The run's report file, known to every part that must protect or flush it.
#pragma once

#include <ostream>
#include <string>

// Records the report stream and the name it was opened with.
void setReportFile(std::ostream* stream, const std::string& name);
std::ostream* reportStream();
// Name of the open report file; empty before the first analysis.
const std::string& reportFileName();

// Ends the run with exit status 1 after flushing the report.
[[noreturn]] void endRun();

// Replaces how the run ends (std::exit by default); a program that embeds
// the dialogue passes a handler that leaves the dialogue (it must not return).
void setEndOfRunHandler(void (*handler)(int status));

// A file that cannot be opened: "File NAME not opened" on the standard error
// stream, then the run ends as endRun does.
[[noreturn]] void fileNotOpened(const std::string& name);
