#include "data/loaded_data.h"

#include <algorithm>
#include <functional>

#include "data/number_text.h"
#include "data/scalar_filter.h"

namespace korvel {

namespace {
// Finds a cell among the labels, adding it when new: open addressing over the
// labels' indices, so that a cell is looked up without a copy.
class LabelIndex {
public:
    explicit LabelIndex(std::vector<std::string>& labels) : labels(labels), slots(64, 0) {}

    std::uint32_t idOf(std::string_view cell)
    {
        std::size_t at = std::hash<std::string_view>()(cell) & (slots.size() - 1);
        for (; slots[at] != 0; at = (at + 1) & (slots.size() - 1))
            if (labels[slots[at] - 1] == cell)
                return slots[at] - 1;
        labels.emplace_back(cell);
        slots[at] = static_cast<std::uint32_t>(labels.size());
        if (2 * labels.size() > slots.size())
            rehash();
        return static_cast<std::uint32_t>(labels.size() - 1);
    }

private:
    std::vector<std::string>& labels;
    std::vector<std::uint32_t> slots; // label index + 1; 0 for a free slot

    void rehash()
    {
        slots.assign(slots.size() * 2, 0);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            std::size_t at = std::hash<std::string_view>()(labels[i]) & (slots.size() - 1);
            while (slots[at] != 0)
                at = (at + 1) & (slots.size() - 1);
            slots[at] = static_cast<std::uint32_t>(i + 1);
        }
    }
};

CellKind kindOf(std::string_view cell, double& value)
{
    if (isBlankCell(cell))
        return CellKind::Blank;
    const auto number = decimalValue(cell);
    value = number.value_or(0.0);
    return number ? CellKind::Number : CellKind::NotANumber;
}

// The cells of one line that the selection needs, by variable index.
class LineCells {
public:
    explicit LineCells(int lastIndex) : cells(static_cast<std::size_t>(lastIndex) + 1) {}
    void split(std::string_view line)
    {
        for (std::string_view& cell : cells) {
            const auto tab = line.find('\t');
            cell = line.substr(0, tab);
            line = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
        }
    }
    std::string_view operator[](int k) const { return cells[static_cast<std::size_t>(k)]; }

private:
    std::vector<std::string_view> cells;
};

int lastIndexOf(const ColumnSelection& s)
{
    int last = std::max(*s.y, *s.x);
    for (int k : s.grouping)
        last = std::max(last, k);
    for (const FilterChoice& f : s.filters)
        last = std::max(last, f.variable);
    return last;
}

// The label of the line's grouping: the cells joined by a blank.
std::string_view groupOf(const LineCells& cells, const std::vector<int>& grouping, std::string& joined)
{
    if (grouping.size() == 1)
        return cells[grouping[0]];
    joined.clear();
    for (std::size_t k = 0; k < grouping.size(); ++k) {
        if (k > 0)
            joined += ' ';
        joined += cells[grouping[k]];
    }
    return joined;
}

void reserve(NumberColumn& column, std::size_t n)
{
    column.values.reserve(n);
    column.kinds.reserve(n);
}
} // namespace

bool isBlankCell(std::string_view cell)
{
    return cell.empty() || cell == " ";
}

std::string groupingName(const std::vector<std::string>& header, const std::vector<int>& grouping)
{
    if (grouping.empty())
        return "none";
    std::string name;
    for (int k : grouping)
        name += (name.empty() ? "" : " ") + header[static_cast<std::size_t>(k)];
    return name;
}

LoadedData loadColumns(const DataFile& file, const ColumnSelection& selection, int lineCount, Progress& progress)
{
    const auto& header = file.header();
    // A variable past the header has no name (its cells are read all the same).
    const auto nameOf = [&header](int k) {
        return static_cast<std::size_t>(k) < header.size() ? header[static_cast<std::size_t>(k)] : std::string();
    };
    const std::size_t n = lineCount > 1 ? static_cast<std::size_t>(lineCount - 1) : 0;
    LoadedData data;
    data.filename = file.name();
    data.lineCount = lineCount;
    data.grouped = !selection.grouping.empty();
    data.grouping.name = groupingName(header, selection.grouping);
    data.y.name = nameOf(*selection.y);
    data.x.name = nameOf(*selection.x);
    reserve(data.y, n);
    reserve(data.x, n);
    data.grouping.ids.reserve(n);
    std::vector<LabelIndex> filterIndex;
    data.filters.resize(selection.filters.size());
    for (std::size_t f = 0; f < selection.filters.size(); ++f) {
        data.filters[f].column.name = nameOf(selection.filters[f].variable);
        data.filters[f].column.ids.reserve(n);
        filterIndex.emplace_back(data.filters[f].column.labels);
    }
    LabelIndex groups(data.grouping.labels);
    if (!data.grouped)
        groups.idOf("none");

    LineCells cells(lastIndexOf(selection));
    LineReader reader = file.lines();
    std::string_view line;
    reader.next(line); // the header
    std::string joined;
    progress.begin(Stage::Loading, static_cast<long long>(file.size()), static_cast<double>(file.size()));
    for (std::size_t r = 0; r < n; ++r) {
        if (r % linesBetweenReports == 0)
            progress.advance(static_cast<long long>(reader.position()));
        cells.split(reader.next(line) ? line : std::string_view());
        data.grouping.ids.push_back(data.grouped ? groups.idOf(groupOf(cells, selection.grouping, joined)) : 0);
        double value = 0;
        data.y.kinds.push_back(kindOf(cells[*selection.y], value));
        data.y.values.push_back(value);
        data.x.kinds.push_back(kindOf(cells[*selection.x], value));
        data.x.values.push_back(value);
        for (std::size_t f = 0; f < selection.filters.size(); ++f)
            data.filters[f].column.ids.push_back(filterIndex[f].idOf(cells[selection.filters[f].variable]));
    }
    progress.end();
    for (std::size_t f = 0; f < selection.filters.size(); ++f) {
        for (const ScalarClasses& classes : selection.filters[f].classes)
            sortIntoClasses(data.filters[f].column, classes);
        for (const std::string& label : data.filters[f].column.labels)
            data.filters[f].keep.emplace(label, true);
    }
    return data;
}

} // namespace korvel
