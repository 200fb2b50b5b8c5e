// Pairwise Wald tests of elevation or shift after a significant overall test.
#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <limits>
#include <vector>

#include "SMAstats.h"
#include "pair_table.h"
#include "signif_matrix.h"
#include "text.h"

namespace {
struct ShiftPair {
    double difference = 0, df = 1, stat = 0, p = 0;
};

double groupValue(const summary_stats& g, int test)
{
    return test == 3 ? g.residMean : g.fittedMean;
}

// Standard error of a difference whose Wald statistic is stat (one degree
// of freedom): |difference| / sqrt(stat), NaN when stat is 0.
double standardError(const ShiftPair& pr)
{
    if (pr.stat == 0)
        return std::numeric_limits<double>::quiet_NaN();
    return std::fabs(pr.difference) / std::sqrt(pr.stat);
}
} // namespace

void SMAstats::ANCOVA_post(GroupMap& grps, int test, double crit_p, std::ofstream& out)
{
    std::cout << "processing........" << std::endl;
    int nameWidth = 7;
    std::vector<std::string> names;
    for (const auto& entry : grps) {
        nameWidth = std::max(nameWidth, static_cast<int>(entry.first.size()));
        names.push_back(entry.first);
    }
    const int g = static_cast<int>(grps.size());
    PairTable<ShiftPair> table(g);
    int i = 0;
    for (auto gi = grps.begin(); gi != grps.end(); ++gi, ++i) {
        int j = 0;
        for (auto gj = grps.begin(); gj != gi; ++gj, ++j) {
            ShiftPair pr;
            pr.difference = std::fabs(groupValue(gi->second, test) - groupValue(gj->second, test));
            GroupMap pair{*gi, *gj};
            pr.p = walds(pair, test, pr.stat, false, out, crit_p);
            table.set(i, j, pr);
        }
    }

    out << "Difference, standard error, df, p-value\n" << std::left << std::setw(nameWidth) << "Group" << "\t";
    for (const std::string& name : names) {
        Print_String(name, out, 25);
        out << "\t";
    }
    out << std::endl;
    for (int r = 0; r < g; ++r) {
        Print_String(names[static_cast<std::size_t>(r)], out, nameWidth);
        out << "\t";
        for (int c = 0; c < g; ++c) {
            out << std::fixed << "(";
            if (c == r) {
                out << std::setprecision(1) << std::setw(23) << 1.0;
            } else {
                const ShiftPair& pr = table.get(r, c);
                out << std::setprecision(3) << std::setw(6) << pr.difference << "," << std::setw(6)
                    << standardError(pr) << "," << std::setprecision(0) << std::setw(3) << pr.df << ","
                    << std::setprecision(3) << pr.p;
            }
            out << ")\t";
        }
        out << std::endl;
    }

    out << "\np-values only\n" << std::setw(nameWidth) << "Group" << "\t";
    for (const std::string& name : names) {
        Print_String(name, out, nameWidth);
        out << "\t";
    }
    out << std::endl;
    for (int r = 0; r < g; ++r) {
        Print_String(names[static_cast<std::size_t>(r)], out, nameWidth);
        out << "\t";
        for (int c = 0; c < g; ++c) {
            out << std::setw(nameWidth);
            if (c == r)
                out << std::setprecision(1) << 1.0;
            else
                out << std::setprecision(4) << table.get(r, c).p;
            out << "\t";
        }
        out << std::endl;
    }

    const auto sorted = sortedGroups(grps, [test](const summary_stats& s) { return groupValue(s, test); });
    writeSignificanceMatrix(out, crit_p, "mean", sorted, nameWidth,
                            [&table](int a, int b) { return table.get(a, b).p; });
}
