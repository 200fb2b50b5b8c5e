#include "stats/p_adjustment.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace korvel {

int comparisonCount(const std::vector<double>& p)
{
    return static_cast<int>(std::count_if(p.begin(), p.end(), [](double v) { return !std::isnan(v); }));
}

std::vector<double> adjustedPvalues(const std::vector<double>& p, PAdjustment method)
{
    const double K = comparisonCount(p);
    std::vector<double> adjusted = p;
    switch (method) {
    case PAdjustment::None:
        break;
    case PAdjustment::Bonferroni:
        for (double& v : adjusted)
            v = std::isnan(v) ? v : std::min(1.0, K * v);
        break;
    case PAdjustment::Sidak:
        for (double& v : adjusted)
            v = -std::expm1(K * std::log1p(-v));
        break;
    case PAdjustment::Holm: {
        std::vector<std::size_t> order;
        for (std::size_t i = 0; i < p.size(); ++i)
            if (!std::isnan(p[i]))
                order.push_back(i);
        std::stable_sort(order.begin(), order.end(), [&p](std::size_t a, std::size_t b) { return p[a] < p[b]; });
        double previous = 0;
        for (std::size_t rank = 0; rank < order.size(); ++rank) {
            const double v = std::min(1.0, (K - static_cast<double>(rank)) * p[order[rank]]);
            previous = std::max(previous, v);
            adjusted[order[rank]] = previous;
        }
        break;
    }
    }
    return adjusted;
}

} // namespace korvel
