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
    const std::vector<std::string> names = groupNames(grps);
    int nameWidth = 7;
    for (const std::string& name : names)
        nameWidth = std::max(nameWidth, static_cast<int>(name.size()));
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

    out << "Difference, standard error, df, p-value\n";
    writePairTable(out, names, nameWidth, 25, [&](int r, int c) {
        out << std::fixed << "(";
        if (c == r) {
            out << std::setprecision(1) << std::setw(23) << 1.0;
        } else {
            const ShiftPair& pr = table.get(r, c);
            out << std::setprecision(3) << std::setw(6) << pr.difference << "," << std::setw(6) << standardError(pr)
                << "," << std::setprecision(0) << std::setw(3) << pr.df << "," << std::setprecision(3) << pr.p;
        }
        out << ")\t";
    });
    writePvalueTable(out, names, nameWidth, 4, [&table](int i, int j) { return table.get(i, j).p; });

    const auto sorted = sortedGroups(grps, [test](const summary_stats& s) { return groupValue(s, test); });
    writeSignificanceMatrix(out, crit_p, "mean", sorted, nameWidth,
                            [&table](int a, int b) { return table.get(a, b).p; });
}
