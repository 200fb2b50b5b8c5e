// Pairwise comparisons of slopes after the common-slope test found a
// difference.
#include <cctype>
#include <iomanip>
#include <iostream>
#include <vector>

#include "SMAstats.h"
#include "common_test.h"
#include "console.h"
#include "pair_table.h"
#include "signif_matrix.h"

namespace {
// One pair of groups tested for a common slope.
struct SlopePair {
    double slope = 0; // the pair's common slope, 0 when the iteration failed
    double stat = 0;  // statistic at the slope the iteration left
    double p = 0;     // p-value at that slope
};
} // namespace

void SMAstats::slope_postHoc(profile& prof, std::ofstream& out)
{
    std::cout << "\nRun post-hoc multiple slope comparisons between groups? (y or n)" << std::endl;
    if (std::tolower(static_cast<unsigned char>(readChar())) != 'y') {
        out << "\nNo post hoc comparisons between groups" << std::endl;
        std::cout << "\nNo post hoc comparisons between groups" << std::endl;
        return;
    }
    out << "\nPOST-HOC MULTIPLE COMPARISON OF SLOPES AMONG GROUPS" << std::endl;
    const int g = static_cast<int>(groups.size());
    const double nPairs = (static_cast<double>(g) * g - g) / 2;
    std::cout << "\nRunning permutation tests for " << std::setprecision(0) << static_cast<int>(nPairs)
              << std::setprecision(3) << " comparisons\nCount - ";

    const std::vector<std::string> names = groupNames(groups);
    PairTable<SlopePair> table(g);
    int count = 0, i = 0;
    for (auto gi = groups.begin(); gi != groups.end(); ++gi, ++i) {
        int j = 0;
        for (auto gj = groups.begin(); gj != gi; ++gj, ++j) {
            const GroupMap pair{*gi, *gj};
            double s = 0;
            const bool converged = fit_common(pair, prof.n_iterations, s);
            if (!converged)
                std::cout << "slope didn't converge for groups: " << gi->first << " & " << gj->first
                          << ", check data." << std::endl;
            SlopePair result;
            result.slope = converged ? s : 0;
            result.stat = common_TestStat(pair, s, 0.0);
            result.p = common_pval(pair, prof.n_iterations, s, prof.resample);
            table.set(i, j, result);
            std::cout << ++count << " ";
        }
    }
    std::cout << std::endl;

    const int D = pvalueDigits(prof.n_iterations);
    out << "Common slope, test stat, p-value\n";
    writePairTable(out, names, groupWidth, D + 18, [&](int r, int c) {
        if (c == r) {
            out << "(" << std::setw(D + 16) << std::setprecision(1) << 1.0;
        } else {
            const SlopePair& pr = table.get(r, c);
            out << std::fixed << std::setprecision(3) << "(" << std::setw(6) << pr.slope << "," << std::setw(6)
                << pr.stat << "," << std::setprecision(D) << pr.p;
        }
        out << ")\t";
    });
    writePvalueTable(out, names, groupWidth, D, [&table](int i, int j) { return table.get(i, j).p; });

    const auto sorted = sortedGroups(groups, [](const summary_stats& s) { return s.slope; });
    writeSignificanceMatrix(out, prof.crit_p, "slope", sorted, groupWidth,
                            [&table](int i, int j) { return table.get(i, j).p; });
}
