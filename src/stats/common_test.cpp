// The test for a common slope across groups and its resampling p-value.
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <limits>

#include "SMAstats.h"
#include "common_test.h"
#include "distributions.h"
#include "line_moments.h"

int resampleCount(int n_iterations)
{
    return n_iterations < 1 ? 1 : n_iterations;
}

int pvalueDigits(int n_iterations)
{
    return static_cast<int>(std::ceil(std::log10(static_cast<double>(resampleCount(n_iterations)))));
}

void shufflePool(std::vector<double>& R)
{
    for (std::size_t i = 1; i < R.size(); ++i) {
        const std::size_t j = static_cast<std::size_t>(std::rand()) % (i + 1);
        std::swap(R[i], R[j]);
    }
}

namespace {
// Fills the copy's axis scores and intercepts at slope b and returns the
// pooled residuals (residual-axis score less intercept), groups in map order.
std::vector<double> residualPool(const SMAstats& st, GroupMap& copy, double b)
{
    std::vector<double> R;
    for (auto& entry : copy) {
        summary_stats& g = entry.second;
        g.interc = st.intercept == 1 ? g.Ymean - b * g.Xmean : 0;
        for (std::size_t k = 0; k < g.X.size(); ++k) {
            g.fittedAxis[k] = st.fitted_axis(g.Y[k], g.X[k], b);
            g.residAxis[k] = st.residual_axis(g.Y[k], g.X[k], b);
            R.push_back(g.residAxis[k] - g.interc);
        }
    }
    return R;
}

} // namespace

double SMAstats::common_pval(const GroupMap& grps, int N, double b, int resample) const
{
    const double T0 = common_TestStat(grps, b, 0.0);
    if (resample == 0)
        return chisqQ(T0, static_cast<double>(grps.size()) - 1);
    // No resampled statistic can exceed an undefined one; counting would give
    // the smallest p-value for data that carry no evidence at all.
    if (std::isnan(T0))
        return std::numeric_limits<double>::quiet_NaN();

    N = resampleCount(N);
    GroupMap copy = grps;
    std::vector<double> R = residualPool(*this, copy, b);
    long long count = 1;
    long long counted = 0;
    const long long wanted = N - 1;
    const long long maxAttempts = 100LL * N;
    for (long long attempts = 0; counted < wanted && attempts < maxAttempts; ++attempts) {
        shufflePool(R);
        refitResampled(copy, R, b);
        double bStar = b;
        if (!fit_common(copy, N, bStar))
            continue;
        ++counted;
        if (common_TestStat(copy, bStar, 0.0) > T0)
            ++count;
    }
    if (counted < wanted) {
        std::cout << "Resampling stopped: " << counted << " of " << wanted << " resamples converged" << std::endl;
        return static_cast<double>(count) / static_cast<double>(1 + counted);
    }
    return static_cast<double>(count) / N;
}

// Pools up to this many points are rebuilt into the copy's X and Y and fitted
// from there: the data stay in the processor's cache, and the rebuild runs in
// vector instructions. Larger pools are fitted from points rebuilt on the fly
// in both passes, which reads half as much memory. Both give the same numbers.
static const std::size_t largestStoredPool = std::size_t(1) << 18;

// Each group takes its share of the pool in map order, with one running
// index over all groups.
template <int Method>
static void refitWith(const SMAstats& st, GroupMap& copy, const std::vector<double>& R, double b)
{
    std::size_t offset = 0;
    if (R.size() <= largestStoredPool) {
        for (auto& entry : copy) {
            summary_stats& g = entry.second;
            const ResampledPoints<Method> points(g, R.data() + offset, b);
            double* __restrict X = g.X.data();
            double* __restrict Y = g.Y.data();
            for (std::size_t k = 0; k < points.size(); ++k)
                points.at(k, X[k], Y[k]);
            offset += g.X.size();
        }
        st.fit_lines(copy, false);
        return;
    }
    fitGroups(st, copy, false, st.intercept == 1, [&](const summary_stats& g) {
        const ResampledPoints<Method> points(g, R.data() + offset, b);
        offset += g.X.size();
        return points;
    });
}

void SMAstats::refitResampled(GroupMap& copy, const std::vector<double>& R, double b) const
{
    if (method == 0)
        refitWith<0>(*this, copy, R, b);
    else if (method == 1)
        refitWith<1>(*this, copy, R, b);
    else
        refitWith<2>(*this, copy, R, b);
}

CommonSlopeResult SMAstats::commonSlopeTest(const profile& prof) const
{
    CommonSlopeResult r;
    for (const auto& entry : groups)
        r.Ntot += entry.second.n;
    r.g = static_cast<int>(groups.size());
    fit_common(groups, prof.n_iterations, r.b);
    r.T = common_TestStat(groups, r.b, 0.0);
    r.p = common_pval(groups, prof.n_iterations, r.b, prof.resample);
    r.common = r.p > prof.crit_p;
    if (r.common) {
        const auto ci = commonCI(groups, prof.conf_level, r.b);
        r.low = ci.first;
        r.upp = ci.second;
        if (prof.H0_b != 0) {
            r.T0 = common_TestStat(groups, r.b, prof.H0_b);
            r.p0 = chisqQ(r.T0, 1);
        }
    }
    return r;
}

// Header of the common-slope table, on either stream.
static void writeCommonHeader(std::ostream& s, int slopeWidth, bool withH0)
{
    s << std::left << std::setw(7) << "Grps" << "\t" << std::setw(7) << "N" << "\t";
    for (const char* label : {"Slope", "LowCI", "UppCI"})
        s << std::setw(slopeWidth) << label << "\t";
    if (withH0)
        s << std::setw(slopeWidth) << "H0_b" << "\t" << std::setw(7) << "X2" << "\t" << std::setw(7) << "p";
}

// Values of the common-slope table; slope precision as given.
static void writeCommonValues(std::ostream& s, const CommonSlopeResult& r, int slopeWidth, int precision,
                              double H0_b)
{
    s << "\n" << std::setprecision(0) << std::setw(7) << r.g << "\t" << std::setw(7) << r.Ntot << "\t"
      << std::setprecision(precision) << std::setw(slopeWidth) << r.b << "\t";
    if (!r.common)
        return;
    s << std::setw(slopeWidth) << r.low << "\t" << std::setw(slopeWidth) << r.upp << "\t";
    if (H0_b != 0)
        s << std::setw(slopeWidth) << H0_b << "\t" << std::setprecision(3) << std::setw(7) << r.T0 << "\t"
          << std::setw(7) << r.p0;
}

static void writeStatistic(std::ostream& s, const CommonSlopeResult& r, int precision, int pDigits)
{
    s << std::left << std::setprecision(precision) << "\nTest statistic:\t" << r.T << "\tp =\t"
      << std::setprecision(pDigits) << r.p << std::setprecision(precision) << std::endl;
}

bool SMAstats::test_common(profile& prof, std::ofstream& out)
{
    const int D = pvalueDigits(prof.n_iterations);
    if (groups.size() == 1) {
        std::cout << "\nSingle group: no test for common slope.\nSee file ouput for line fitted to all data\n"
                  << std::endl;
        out << "Single group: no test for common slope" << std::endl;
        return true;
    }
    if (groups.empty()) {
        std::cout << "\nNo groups left to test for a common slope." << std::endl;
        out << "No groups: no test for common slope" << std::endl;
        return true;
    }
    out << "TEST FOR COMMON SLOPE ACROSS GROUPS" << std::endl;
    std::cout << "\nTEST FOR COMMON SLOPE ACROSS GROUPS" << std::endl;

    const CommonSlopeResult r = commonSlopeTest(prof);
    const bool withH0 = prof.H0_b != 0 && r.common;
    writeCommonHeader(out, slopeWidth, withH0);
    writeCommonHeader(std::cout, slopeWidth, withH0);
    writeCommonValues(out, r, slopeWidth, slopeDecimals, prof.H0_b);
    writeCommonValues(std::cout, r, slopeWidth, slopeDecimals + 1, prof.H0_b);
    out << std::endl;
    std::cout << std::endl;
    writeStatistic(out, r, 3, D);
    writeStatistic(std::cout, r, 4, D + 1);
    commonSlope = r.b;
    return r.common;
}
