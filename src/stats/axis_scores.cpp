#include "stats/axis_scores.h"

namespace korvel {

GroupScores scoresAt(const Estimator& estimator, const Group& g, double b)
{
    GroupScores s;
    s.residual.resize(g.X.size());
    s.fitted.resize(g.X.size());
    for (std::size_t k = 0; k < g.X.size(); ++k) {
        s.residual[k] = estimator.residualScore(g.Y[k], g.X[k], b);
        s.fitted[k] = estimator.fittedScore(g.Y[k], g.X[k], b);
    }
    return s;
}

} // namespace korvel
