// Simulations that judge the robust lines: the coverage of their slopes'
// intervals and the size of their tests on clean bivariate normal data, and
// their slope among outliers. The unit test runs them with a tenth of the
// replicates of the benchmark (bench/korvel_robust.cpp).
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "korvel/korvel.h"

namespace korvel::simulation {

// Groups of bivariate normal points: X standard normal, Y with standard
// deviation sdY and correlation r with X; each group shifted by its own
// location along the line through the origin of the SMA slope sdY.
struct Groups {
    std::vector<double> y, x;
    std::vector<std::int32_t> group;
    std::vector<std::string> names;
    void add(std::mt19937_64& rng, int n, double r, double sdY, double shiftX)
    {
        std::normal_distribution<double> normal;
        const std::int32_t code = static_cast<std::int32_t>(names.size());
        names.push_back("g" + std::to_string(code));
        for (int i = 0; i < n; ++i) {
            const double u = normal(rng), v = normal(rng);
            x.push_back(shiftX + u);
            y.push_back(sdY * (shiftX + r * u + std::sqrt(1 - r * r) * v));
            group.push_back(code);
        }
    }
    Data data() const
    {
        return dataFromColumns({{"y", y.data(), y.size()}, {"x", x.data(), x.size()}, {{"g", group.data(), group.size(), names}}});
    }
};

// The slope each method estimates at the bivariate normal of X standard, Y of
// standard deviation sdY and correlation r.
inline double trueSlope(Method method, double r, double sdY)
{
    if (method == Method::OLS)
        return r * sdY;
    if (method == Method::SMA)
        return sdY;
    const double spread = sdY * sdY - 1;
    return (spread + std::sqrt(spread * spread + 4 * r * r * sdY * sdY)) / (2 * r * sdY);
}

inline AnalysisSettings robustSettings(Method method)
{
    AnalysisSettings s;
    s.method = method;
    s.robust = true;
    s.minGroupSize = 3;
    return s;
}

// The share of replicates whose 95 % interval of the robust slope covers the
// true slope (an MA interval through the vertical holds the slopes outside
// (high, low)).
inline double coverage(Method method, int n, double r, int replicates, std::mt19937_64& rng)
{
    const double sdY = 2, slope = trueSlope(method, r, sdY);
    int covered = 0;
    for (int k = 0; k < replicates; ++k) {
        Groups g;
        g.add(rng, n, r, sdY, 0);
        const GroupLine line = fit(g.data(), robustSettings(method)).lines.front();
        const bool inside = line.throughVertical ? slope >= line.slopeLow || slope <= line.slopeHigh
                                                 : line.slopeLow <= slope && slope <= line.slopeHigh;
        covered += inside ? 1 : 0;
    }
    return static_cast<double>(covered) / replicates;
}

// The shares of replicates of three groups of 40 points sharing the SMA slope
// 1.5 (r 0.7) and one elevation, each at its own place along the line, whose
// robust common-slope test (chi-squared) rejects the common slope at 0.05, and
// whose robust elevation test rejects the common elevation.
struct TestSizes {
    double commonSlope = 0, elevation = 0;
};
inline TestSizes testSizes(int replicates, std::mt19937_64& rng)
{
    int slopeRejected = 0, elevationRejected = 0, elevationTests = 0;
    RandomStream random;
    for (int k = 0; k < replicates; ++k) {
        Groups g;
        for (double shift : {-1.0, 0.0, 1.0})
            g.add(rng, 40, 0.7, 1.5, shift);
        const Fit f = fit(g.data(), robustSettings(Method::SMA));
        const CommonSlopeTest test = testCommonSlope(f, PValueFrom::ChiSquared, 1000, 0.05, random);
        slopeRejected += test.common ? 0 : 1;
        if (!test.common)
            continue;
        ++elevationTests;
        const WaldTest elevation = testShift(f, linesWithCommonSlope(f, test), ScoreAxis::Residual, 0.05, false);
        elevationRejected += elevation.p < 0.05 ? 1 : 0;
    }
    return {static_cast<double>(slopeRejected) / replicates,
            static_cast<double>(elevationRejected) / elevationTests};
}

// The mean relative error of the SMA slope (1.5, r 0.7, 100 points) when a
// tenth of the points are replaced by points near (mean x + 4 sd x, mean y -
// 4 sd y), against the line: of the robust slope and of the ordinary one.
struct OutlierErrors {
    double robust = 0, ordinary = 0;
};
inline OutlierErrors outlierErrors(int replicates, std::mt19937_64& rng)
{
    std::normal_distribution<double> near(0, 0.1);
    OutlierErrors e;
    for (int k = 0; k < replicates; ++k) {
        Groups g;
        g.add(rng, 100, 0.7, 1.5, 0);
        for (std::size_t i = 0; i < 10; ++i) {
            g.x[i] = 4 + near(rng);
            g.y[i] = -4 * 1.5 + near(rng);
        }
        AnalysisSettings s = robustSettings(Method::SMA);
        e.robust += std::fabs(fit(g.data(), s).lines.front().slope - 1.5) / 1.5;
        s.robust = false;
        e.ordinary += std::fabs(fit(g.data(), s).lines.front().slope - 1.5) / 1.5;
    }
    e.robust /= replicates;
    e.ordinary /= replicates;
    return e;
}

} // namespace korvel::simulation
