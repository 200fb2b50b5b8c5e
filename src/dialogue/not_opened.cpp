#include "dialogue/not_opened.h"

#include <iostream>

namespace korvel {

int notOpened(const FileNotOpened& file)
{
    if (!file.problem.empty())
        std::cerr << file.problem << std::endl;
    std::cerr << "File " << file.name << " not opened" << std::endl;
    return 1;
}

} // namespace korvel
