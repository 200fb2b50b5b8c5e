#include "stats/lines_with_common_slope.h"

#include <cmath>
#include <limits>

#include "stats/wald.h"

namespace korvel {

LinesAtCommonSlope linesAtCommonSlope(const Estimator& estimator, const GroupMap& groups, double B)
{
    LinesAtCommonSlope result;
    result.B = B;
    for (const auto& [name, g] : groups) {
        LineAtCommonSlope& line = result.lines[name];
        line.interc = estimator.residualScore(g.Ymean, g.Xmean, B);
        line.scores = scoresAt(estimator, g, B);
        line.fittedMean = sumOf(line.scores.fitted) / g.n;
        line.residMean = sumOf(line.scores.residual) / g.n;
        line.varFitted = estimator.varFitted(g.SYY, g.SXX, g.SXY, B, g.n);
        line.varResid = estimator.varResid(g.SYY, g.SXX, g.SXY, B, g.n);
        line.varSlope = estimator.varSlope(g.SYY, g.SXX, g.SXY, line.varFitted, line.varResid, B, g.n);
    }
    return result;
}

GrandMeans grandMeans(const GroupMap& groups, const LinesAtCommonSlope& lines)
{
    GrandMeans gm;
    double sx = 0, sy = 0, sf = 0, sr = 0;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        gm.N += g.n;
        sx += g.n * g.Xmean;
        sy += g.n * g.Ymean;
    }
    for (const auto& entry : lines.lines) {
        const AxisScores& s = entry.second.scores;
        for (std::size_t i = 0; i < s.fitted.size(); ++i) {
            sf += s.fitted[i];
            sr += s.residual[i];
        }
    }
    gm.X = sx / gm.N;
    gm.Y = sy / gm.N;
    gm.F = sf / gm.N;
    gm.R = sr / gm.N;
    return gm;
}

double scoreMean(const LineAtCommonSlope& line, ScoreAxis axis)
{
    return axis == ScoreAxis::Residual ? line.residMean : line.fittedMean;
}

double standardError(const ShiftPair& pair)
{
    if (pair.stat == 0)
        return std::numeric_limits<double>::quiet_NaN();
    return std::fabs(pair.difference) / std::sqrt(pair.stat);
}

PairTable<ShiftPair> compareShifts(const Estimator& estimator, const GroupMap& groups, const LinesAtCommonSlope& lines,
                                   ScoreAxis axis, ErrorVariances errors, double criticalP)
{
    const std::vector<WaldGroup> terms = waldGroups(estimator, groups, lines, axis, errors);
    PairTable<ShiftPair> table(static_cast<int>(groups.size()));
    int i = 0;
    for (auto gi = groups.begin(); gi != groups.end(); ++gi, ++i) {
        int j = 0;
        for (auto gj = groups.begin(); gj != gi; ++gj, ++j) {
            ShiftPair pr;
            pr.difference = scoreMean(lines.of(gi->first), axis) - scoreMean(lines.of(gj->first), axis);
            // The two groups in map order, as a test of those two alone has them.
            const WaldResult r = waldTest({terms[static_cast<std::size_t>(j)], terms[static_cast<std::size_t>(i)]},
                                          criticalP);
            pr.stat = r.W;
            pr.p = r.p;
            table.set(i, j, pr);
        }
    }
    return table;
}

} // namespace korvel
