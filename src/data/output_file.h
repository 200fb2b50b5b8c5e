// Files a run writes: the report, the saved scores, the results and figures.
#pragma once

#include <fstream>
#include <string>

namespace korvel {

// Opens the named file for writing (with the extra mode, e.g. binary),
// emptying it; FileNotOpened (errors.h) with the system's reason when it
// cannot be opened.
void openForWriting(std::ofstream& file, const std::string& name, std::ios::openmode extra = {});

} // namespace korvel
