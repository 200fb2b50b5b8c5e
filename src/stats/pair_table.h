// A symmetric table of pairwise results, one row and column per group in map
// order; the diagonal is never filled.
#pragma once

#include <cstddef>
#include <vector>

namespace korvel {

template <typename Cell>
class PairTable {
public:
    explicit PairTable(int groups)
        : g(groups), cells(static_cast<std::size_t>(groups) * static_cast<std::size_t>(groups))
    {
    }
    void set(int i, int j, const Cell& cell)
    {
        at(i, j) = cell;
        at(j, i) = cell;
    }
    const Cell& get(int i, int j) const { return cells[index(i, j)]; }
    int groups() const { return g; }

private:
    int g;
    std::vector<Cell> cells;
    std::size_t index(int i, int j) const
    {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(g) + static_cast<std::size_t>(j);
    }
    Cell& at(int i, int j) { return cells[index(i, j)]; }
};

} // namespace korvel
