#include "dialogue/not_opened.h"

#include <iostream>

namespace korvel {

int notOpened(Console& console, const FileNotOpened& file)
{
    if (!file.problem.empty())
        console.err << file.problem << std::endl;
    console.err << "File " << file.name << " not opened" << std::endl;
    return 1;
}

} // namespace korvel
