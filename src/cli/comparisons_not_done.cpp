#include "cli/comparisons_not_done.h"

#include <iostream>

namespace korvel {

void sayWhatWasNotDone(const std::vector<NotDone>& notDone)
{
    for (const NotDone& n : notDone)
        std::cerr << "korvel: " << n.option << " not done: " << n.reason << std::endl;
}

} // namespace korvel
