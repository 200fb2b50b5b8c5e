#include "data/loaded_data.h"

void LoadedData::addGrouping(const Column& column)
{
    Column& grouping = columns[GroupColumn];
    if (!chosen(GroupColumn)) {
        grouping = column;
        return;
    }
    for (std::size_t i = 0; i < grouping.size() && i < column.size(); ++i)
        grouping[i] += " " + column[i];
}

void LoadedData::fillMissingGrouping()
{
    if (!chosen(GroupColumn))
        columns[GroupColumn].resize(static_cast<std::size_t>(lineCount), "none");
}
