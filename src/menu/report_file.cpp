#include "report_file.h"

#include <cstdlib>
#include <iostream>

namespace {
std::ostream* stream = nullptr;
std::string name;
void (*endHandler)(int) = nullptr;
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

void endRun()
{
    if (stream)
        stream->flush();
    if (endHandler)
        endHandler(1);
    std::exit(1);
}

void setEndOfRunHandler(void (*handler)(int))
{
    endHandler = handler;
}

void fileNotOpened(const std::string& fileName)
{
    std::cerr << "File " << fileName << " not opened" << std::endl;
    endRun();
}
