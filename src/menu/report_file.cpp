#include "report_file.h"

#include <cstdlib>
#include <iostream>

namespace {
std::ostream* stream = nullptr;
std::string name;
} // namespace

void setReportFile(std::ostream* s, const std::string& n)
{
    stream = s;
    name = n;
}

std::ostream* reportStream()
{
    return stream;
}

const std::string& reportFileName()
{
    return name;
}

void fileNotOpened(const std::string& fileName)
{
    std::cerr << "File " << fileName << " not opened" << std::endl;
    if (stream)
        stream->flush();
    std::exit(1);
}
