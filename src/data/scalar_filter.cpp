#include "data/scalar_filter.h"

#include "data/text_checks.h"

std::string scalarLabel(const std::string& cell, const std::string& min, const std::string& max)
{
    if (StrCompare(cell, max))
        return "> " + max;
    if (StrCompare(min, cell))
        return "< " + min;
    return "> " + min + " & < " + max;
}

void relabelScalar(Column& column, const std::string& min, const std::string& max)
{
    for (std::size_t i = 1; i < column.size(); ++i)
        column[i] = scalarLabel(column[i], min, max);
}
