// Timing program for the resampling parts of the statistics library.
//
//   korvel_bench resample POINTS GROUPS N REPS
//       The common-slope test's resampling p-value (commonSlopePvalue)
//       on GROUPS groups holding POINTS points in total, with N resamples,
//       against shufflePool alone on a pool of the same size.
//   korvel_bench posthoc GROUPS SIZE N REPS
//       The post-hoc slope comparisons (compareSlopes and the report tables
//       they write, onto a discarded stream) on GROUPS groups of SIZE points, against
//       the shuffles its pairs need (N - 1 shuffles of 2 * SIZE points each).
//
// Every figure is the median of REPS repetitions of processor time (wall time
// is printed beside it); the measured parts are interleaved within each
// repetition, and each ratio is the median of the repetitions' own ratios, so
// that a busy machine disturbs both sides alike. Results are printed as
// KEY=VALUE lines (seconds unless the key says otherwise) for bench/run.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>


#include "engine/fitted_groups.h"
#include "engine/numerical_errors.h"
#include "korvel/engine.h"
#include "report/pair_tables.h"
#include "stats/common_slope.h"
#include "stats/line_fits.h"
#include "stats/resampling.h"
#include "stats/slope_comparisons.h"

using namespace korvel;

namespace {

// Wall and processor time of one call. The ratios use processor time: on a
// machine shared with other work, time spent waiting for a core is not the
// code's cost.
struct Timing {
    double wall = 0, cpu = 0;
};

double cpuNow()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

template <typename F>
Timing timeIt(F&& f)
{
    using Clock = std::chrono::steady_clock;
    const auto w0 = Clock::now();
    const double c0 = cpuNow();
    f();
    const double c1 = cpuNow();
    const auto w1 = Clock::now();
    return {std::chrono::duration<double>(w1 - w0).count(), c1 - c0};
}

// "min max" of the repetitions' ratios, to show how steady they were.
void printRange(const std::vector<double>& v)
{
    std::printf("ratio_min=%.4f\nratio_max=%.4f\n", *std::min_element(v.begin(), v.end()),
                *std::max_element(v.begin(), v.end()));
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

const Estimator sma(Method::SMA, true);

// Fits `groups` groups of `size` points each (SMA, with intercept,
// untransformed), named g00, g01, ... Group g has slope base + step * g; X is
// uniform on [100, 900].
Fit buildFit(int groups, int size, double base, double step, unsigned seed)
{
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> noise(0.0, 25.0);
    std::vector<double> y, x;
    std::vector<std::int32_t> code;
    LabelColumnView names{"g", nullptr, 0, {}};
    for (int g = 0; g < groups; ++g) {
        char name[16];
        std::snprintf(name, sizeof name, "g%02d", g);
        names.levels.push_back(name);
        const double slope = base + step * g;
        for (int i = 0; i < size; ++i) {
            x.push_back(100.0 + 800.0 * unit(rng));
            y.push_back(50.0 + 10.0 * g + slope * x.back() + noise(rng));
            code.push_back(g);
        }
    }
    names.codes = code.data();
    names.size = code.size();
    AnalysisSettings settings;
    settings.minGroupSize = 1;
    return fit(dataFromColumns({{"y", y.data(), y.size()}, {"x", x.data(), x.size()}, {names}}), settings);
}

int usage(const char* self)
{
    std::fprintf(stderr,
                 "usage: %s resample POINTS GROUPS N REPS\n"
                 "       %s posthoc GROUPS SIZE N REPS\n",
                 self, self);
    return 2;
}

int runResample(long long points, int groups, int N, int reps)
{
    const int size = static_cast<int>(points / groups);
    const Fit whole = buildFit(groups, size, 1.0, 0.0, 12345u);
    const GroupMap& fitted = groupsOf(whole);
    AnalysisEvents& events = noEvents(); // the computation's events are not shown
    RandomStream random;
    AnalysisSettings settings, setupOnly;
    settings.iterations = N;
    setupOnly.iterations = 1;
    const CommonSlope common = fitCommonSlope(sma, fitted);
    if (!countsAsSettled(common, settings.convergenceLimit())) {
        std::fprintf(stderr, "common slope did not converge\n");
        return 1;
    }
    const double b = common.slope;
    const std::size_t total = static_cast<std::size_t>(size) * static_cast<std::size_t>(groups);
    std::vector<double> pool(total);
    {
        std::mt19937_64 rng(7);
        std::normal_distribution<double> noise(0.0, 25.0);
        for (double& r : pool)
            r = noise(rng);
    }
    std::vector<double> setup, full, shuffle, fullWall, shuffleWall, ratios;
    double p = 0;
    for (int rep = 0; rep < reps; ++rep) {
        const Timing ts =
            timeIt([&] { p = commonSlopePvalue(sma, {}, fitted, b, setupOnly, events, random); });
        const Timing tf =
            timeIt([&] { p = commonSlopePvalue(sma, {}, fitted, b, settings, events, random); });
        const Timing tsh = timeIt([&] {
            for (int k = 1; k < N; ++k)
                shufflePool(pool, random);
        });
        setup.push_back(ts.cpu);
        full.push_back(tf.cpu);
        shuffle.push_back(tsh.cpu);
        fullWall.push_back(tf.wall);
        shuffleWall.push_back(tsh.wall);
        ratios.push_back((tf.cpu - ts.cpu) / tsh.cpu);
    }
    const double tSetup = median(setup), tFull = median(full), tShuffle = median(shuffle);
    const double perResample = (tFull - tSetup) / (N - 1);
    const double perShuffle = tShuffle / (N - 1);
    std::printf("points=%zu\ngroups=%d\nN=%d\nreps=%d\np=%.6f\nslope=%.6f\n", total, groups, N, reps, p, b);
    std::printf("pval_total=%.6f\npval_total_wall=%.6f\npval_setup=%.6f\nshuffle_total=%.6f\n"
                "shuffle_total_wall=%.6f\nper_resample=%.9f\nper_shuffle=%.9f\n",
                tFull, median(fullWall), tSetup, tShuffle, median(shuffleWall), perResample, perShuffle);
    std::printf("per_point_resample=%.12f\nper_point_shuffle=%.12f\nratio=%.4f\n",
                perResample / static_cast<double>(total), perShuffle / static_cast<double>(total),
                median(ratios));
    printRange(ratios);
    return 0;
}

int runPosthoc(int groups, int size, int N, int reps)
{
    const Fit fitted = buildFit(groups, size, 0.6, 0.02, 4242u);
    CommonSlopeTest resampled;
    resampled.pvalueFrom = PValueFrom::Resampling;
    resampled.iterations = N;
    AnalysisSettings settings;
    settings.iterations = N;

    const long long pairs = static_cast<long long>(groups) * (groups - 1) / 2;
    std::vector<double> pool(static_cast<std::size_t>(2 * size));
    {
        std::mt19937_64 rng(9);
        std::normal_distribution<double> noise(0.0, 25.0);
        for (double& r : pool)
            r = noise(rng);
    }

    AnalysisEvents& events = noEvents(); // the computation's events are not shown
    RandomStream random;
    std::vector<double> whole, shuffles, wholeWall, shufflesWall, ratios;
    for (int rep = 0; rep < reps; ++rep) {
        std::ofstream out("/dev/null");
        const Timing tw = timeIt([&] {
            const auto table = compareSlopes(fitted, resampled, PAdjustment::None, random, events);
            writeSlopeComparisons(out, fitted.lines, table, linesLayout(fitted.lines, 7), 3, settings.criticalP,
                                  PAdjustment::None);
        });
        const Timing tsh = timeIt([&] {
            for (long long pr = 0; pr < pairs; ++pr)
                for (int k = 1; k < N; ++k)
                    shufflePool(pool, random);
        });
        whole.push_back(tw.cpu);
        shuffles.push_back(tsh.cpu);
        wholeWall.push_back(tw.wall);
        shufflesWall.push_back(tsh.wall);
        ratios.push_back(tw.cpu / tsh.cpu);
    }
    const double tWhole = median(whole), tShuffles = median(shuffles);
    const double resamples = static_cast<double>(pairs) * (N - 1);
    std::printf("groups=%d\nsize=%d\npairs=%lld\nN=%d\nreps=%d\n", groups, size, pairs, N, reps);
    std::printf("posthoc_total=%.6f\nposthoc_total_wall=%.6f\nshuffle_total=%.6f\nshuffle_total_wall=%.6f\n"
                "per_resample=%.9f\nper_shuffle=%.9f\nratio=%.4f\n",
                tWhole, median(wholeWall), tShuffles, median(shufflesWall), tWhole / resamples,
                tShuffles / resamples, median(ratios));
    printRange(ratios);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // As the engine's calls leave it: GSL failures come back as values.
    quietNumericalErrors();
    if (argc != 6)
        return usage(argv[0]);
    const std::string mode = argv[1];
    const long long a = std::atoll(argv[2]);
    const int b = std::atoi(argv[3]);
    const int N = std::atoi(argv[4]);
    const int reps = std::atoi(argv[5]);
    if (a < 1 || b < 1 || N < 2 || reps < 1)
        return usage(argv[0]);
    if (mode == "resample")
        return runResample(a, b, N, reps);
    if (mode == "posthoc")
        return runPosthoc(static_cast<int>(a), b, N, reps);
    return usage(argv[0]);
}
