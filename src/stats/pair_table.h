// A symmetric table of pairwise results, one row and column per group in map
// order; the diagonal is never filled.
#pragma once

#include <vector>

template <typename Cell>
class PairTable {
public:
    explicit PairTable(int groups) : g(groups), cells(static_cast<std::size_t>(groups * groups)) {}
    void set(int i, int j, const Cell& cell)
    {
        at(i, j) = cell;
        at(j, i) = cell;
    }
    const Cell& get(int i, int j) const { return cells[static_cast<std::size_t>(i * g + j)]; }

private:
    int g;
    std::vector<Cell> cells;
    Cell& at(int i, int j) { return cells[static_cast<std::size_t>(i * g + j)]; }
};
