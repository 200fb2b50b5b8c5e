// Pairwise results of the post-hoc comparisons and the tables that show them.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "SMAstats.h"

// A symmetric table of pairwise results, one row and column per group in map
// order; the diagonal is never filled.
template <typename Cell>
class PairTable {
public:
    explicit PairTable(int groups) : g(groups), cells(static_cast<std::size_t>(groups) * static_cast<std::size_t>(groups)) {}
    void set(int i, int j, const Cell& cell)
    {
        at(i, j) = cell;
        at(j, i) = cell;
    }
    const Cell& get(int i, int j) const { return cells[index(i, j)]; }

private:
    int g;
    std::vector<Cell> cells;
    std::size_t index(int i, int j) const { return static_cast<std::size_t>(i) * static_cast<std::size_t>(g) + static_cast<std::size_t>(j); }
    Cell& at(int i, int j) { return cells[index(i, j)]; }
};

// Group names in map order.
std::vector<std::string> groupNames(const GroupMap& grps);

// A square table, left-justified: the header ("Group" in nameWidth, then each
// name padded to columnWidth, each followed by a tab), then one row per group
// (its name padded to nameWidth, a tab, then cell(row, column) for every
// column, each cell writing its own text and separator).
void writePairTable(std::ostream& out, const std::vector<std::string>& names, int nameWidth, int columnWidth,
                    const std::function<void(int, int)>& cell);

// The "p-values only" table: every cell in a fixed-point field of nameWidth,
// 1.0 with one decimal on the diagonal and the pair's p-value with decimals
// elsewhere, each followed by a tab.
void writePvalueTable(std::ostream& out, const std::vector<std::string>& names, int nameWidth, int decimals,
                      const std::function<double(int, int)>& pairP);
