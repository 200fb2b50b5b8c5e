#include "data/output_file.h"

#include "data/errors.h"

namespace korvel {

void openForWriting(std::ofstream& file, const std::string& name, std::ios::openmode extra)
{
    file.open(name, std::ios::out | std::ios::trunc | extra);
    if (!file.is_open())
        throw FileNotOpened(name, systemReason());
}

} // namespace korvel
