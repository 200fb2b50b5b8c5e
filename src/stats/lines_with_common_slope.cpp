#include "stats/lines_with_common_slope.h"

#include "stats/axis_scores.h"

namespace korvel {

namespace {
// Means over every point of every group: of X and Y, and of the scores.
void setGrandMeans(LinesWithCommonSlope& result, const GroupMap& groups, bool robust)
{
    long long N = 0;
    double sx = 0, sy = 0, sf = 0, sr = 0;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        N += g.n;
        sx += g.n * g.Xmean;
        sy += g.n * g.Ymean;
    }
    for (const LineWithCommonSlope& line : result.groups) {
        if (robust) { // the groups' robust means, each weighed by its points
            sf += line.n * line.fittedMean;
            sr += line.n * line.residualMean;
            continue;
        }
        for (std::size_t i = 0; i < line.scores.fitted.size(); ++i) {
            sf += line.scores.fitted[i];
            sr += line.scores.residual[i];
        }
    }
    result.grandX = sx / N;
    result.grandY = sy / N;
    result.grandFitted = sf / N;
    result.grandResidual = sr / N;
}
} // namespace

namespace {
// The means and variances of a line's scores: of the points' scores, or of
// the robust moments.
void setScoreMoments(LineWithCommonSlope& line, const Estimator& estimator, const Group& g, double B,
                     ErrorVariances errors)
{
    if (estimator.robust) {
        const AxisMoments m = estimator.axisMoments(g.SYY, g.SXX, g.SXY, B);
        line.fittedMean = estimator.fittedScore(g.Ymean, g.Xmean, B);
        line.residualMean = estimator.residualScore(g.Ymean, g.Xmean, B);
        line.residualVariance = m.r;
        line.fittedVariance = m.f;
        return;
    }
    line.fittedMean = sumOf(line.scores.fitted) / g.n;
    line.residualMean = sumOf(line.scores.residual) / g.n;
    line.residualVariance =
        estimator.scoreVarianceLessErrors(ScoreAxis::Residual, varianceOf(line.scores.residual, true), B, errors);
    line.fittedVariance =
        estimator.scoreVarianceLessErrors(ScoreAxis::Fitted, varianceOf(line.scores.fitted, true), B, errors);
}
} // namespace

LinesWithCommonSlope linesAtCommonSlope(const Estimator& estimator, const GroupMap& groups, double B,
                                        ErrorVariances errors)
{
    LinesWithCommonSlope result;
    result.slope = B;
    for (const auto& [name, g] : groups) {
        LineWithCommonSlope& line = result.groups.emplace_back();
        line.group = name;
        line.n = g.n;
        line.r2 = g.R2;
        line.yMean = g.Ymean;
        line.xMean = g.Xmean;
        line.intercept = estimator.residualScore(g.Ymean, g.Xmean, B);
        line.scores = scoresAt(estimator, g, B);
        setScoreMoments(line, estimator, g, B, errors);
        const double varFitted = estimator.varFitted(g.SYY, g.SXX, g.SXY, B, g.locationSize);
        const double varResid = estimator.varResid(g.SYY, g.SXX, g.SXY, B, g.locationSize);
        line.varSlope = estimator.varSlope(g.SYY, g.SXX, g.SXY, varFitted, varResid, B, g.shapeSize);
        line.locationSize = g.locationSize;
    }
    setGrandMeans(result, groups, estimator.robust);
    for (LineWithCommonSlope& line : result.groups) {
        line.yAtGrandX = line.intercept + B * result.grandX;
        line.xAtGrandY = (result.grandY - line.intercept) / B;
    }
    return result;
}

double scoreMean(const LineWithCommonSlope& line, ScoreAxis axis)
{
    return axis == ScoreAxis::Residual ? line.residualMean : line.fittedMean;
}

} // namespace korvel
