// The run's report file, known to every part that must protect or flush it.
#pragma once

#include <ostream>
#include <string>

// Records the report stream and the name it was opened with.
void setReportFile(std::ostream* stream, const std::string& name);
std::ostream* reportStream();
// Name of the open report file; empty before the first analysis.
const std::string& reportFileName();

// A file that cannot be opened: "File NAME not opened" on the standard error
// stream, the report flushed, exit status 1.
[[noreturn]] void fileNotOpened(const std::string& name);
