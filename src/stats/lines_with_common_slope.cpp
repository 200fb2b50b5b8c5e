#include "stats/lines_with_common_slope.h"

#include <cmath>
#include <limits>

#include "stats/wald.h"

void applyCommonSlope(const Estimator& estimator, GroupMap& groups, double B)
{
    for (auto& entry : groups) {
        Group& g = entry.second;
        for (std::size_t i = 0; i < g.X.size(); ++i) {
            g.residAxis[i] = estimator.residualScore(g.Y[i], g.X[i], B);
            g.fittedAxis[i] = estimator.fittedScore(g.Y[i], g.X[i], B);
        }
        g.fittedMean = sumOf(g.fittedAxis) / g.n;
        g.residMean = sumOf(g.residAxis) / g.n;
        g.varFitted = estimator.varFitted(g.SYY, g.SXX, g.SXY, B, g.n);
        g.varResid = estimator.varResid(g.SYY, g.SXX, g.SXY, B, g.n);
        g.varSlope = estimator.varSlope(g.SYY, g.SXX, g.SXY, g.varFitted, g.varResid, B, g.n);
    }
}

GrandMeans grandMeans(const GroupMap& groups)
{
    GrandMeans gm;
    double sx = 0, sy = 0, sf = 0, sr = 0;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        gm.N += g.n;
        sx += g.n * g.Xmean;
        sy += g.n * g.Ymean;
        for (std::size_t i = 0; i < g.fittedAxis.size(); ++i) {
            sf += g.fittedAxis[i];
            sr += g.residAxis[i];
        }
    }
    gm.X = sx / gm.N;
    gm.Y = sy / gm.N;
    gm.F = sf / gm.N;
    gm.R = sr / gm.N;
    return gm;
}

double scoreMean(const Group& g, ScoreAxis axis)
{
    return axis == ScoreAxis::Residual ? g.residMean : g.fittedMean;
}

double standardError(const ShiftPair& pair)
{
    if (pair.stat == 0)
        return std::numeric_limits<double>::quiet_NaN();
    return std::fabs(pair.difference) / std::sqrt(pair.stat);
}

PairTable<ShiftPair> compareShifts(const Estimator& estimator, const GroupMap& groups, ScoreAxis axis, double B,
                                   ErrorVariances errors, double criticalP)
{
    PairTable<ShiftPair> table(static_cast<int>(groups.size()));
    int i = 0;
    for (auto gi = groups.begin(); gi != groups.end(); ++gi, ++i) {
        int j = 0;
        for (auto gj = groups.begin(); gj != gi; ++gj, ++j) {
            ShiftPair pr;
            pr.difference = std::fabs(scoreMean(gi->second, axis) - scoreMean(gj->second, axis));
            const WaldResult r = waldTest(estimator, GroupMap{*gi, *gj}, axis, B, errors, criticalP);
            pr.stat = r.W;
            pr.p = r.p;
            table.set(i, j, pr);
        }
    }
    return table;
}
