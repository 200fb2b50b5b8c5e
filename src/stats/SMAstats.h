// One analysis of the loaded data: groups, line fits, the common-slope test,
// post-hoc slope comparisons and the comparison of lines sharing a slope.
#pragma once

#include <fstream>
#include <list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "profile.h"

// One group of data points and everything fitted to it.
struct summary_stats {
    std::vector<double> X;          // transformed X values, reverse order of the data lines
    std::vector<double> Y;          // transformed Y values, parallel to X
    std::vector<double> fittedAxis; // fitted-axis score of each point at the current slope
    std::vector<double> residAxis;  // residual-axis score y - b*x of each point
    int n = 0;
    double Xmean = 0, Ymean = 0;
    double residMean = 0, fittedMean = 0;
    double SXX = 0, SYY = 0, SXY = 0; // (co)variances, after the measurement-error correction
    double varSlope = 0, varInterc = 0;
    double varFitted = 0, varResid = 0, covarRF = 0;
    double R2 = 0, p = 0;
    double slope = 0, slopeLowCI = 0, slopeUppCI = 0;
    double interc = 0, intercLowCI = 0, intercUppCI = 0;
};

using GroupMap = std::map<std::string, summary_stats>;

// One group's entry in the sorted pair-wise significance matrix.
struct PH_data {
    double value = 0;  // sort key, printed after the name
    int grp_index = 0; // position of the group in map order
    std::string grp_name;
    int n = 0;
};

// Result of the test for a common slope across all groups.
struct CommonSlopeResult {
    int g = 0;           // number of groups
    int Ntot = 0;        // number of points
    double b = 0;        // common slope (last iterate when the iteration failed)
    double T = 0, p = 0; // statistic and its p-value
    bool common = false; // p > crit_p
    double low = 0, upp = 0; // confidence limits, only when common
    double T0 = 0, p0 = 0;   // test of common slope = H0_b, only when common and H0_b set
};

// Result of a Wald test among group means of one axis score.
struct WaldResult {
    int k = 0;      // degrees of freedom, groups - 1
    double W = 0;   // statistic (NaN when a matrix cannot be inverted or a group has <= 2 points)
    double p = 0;   // upper tail of chi-squared with k degrees of freedom
    bool hasAcom = false;
    double Acom = 0; // common value of the means, only when p > crit_p
};

class SMAstats {
public:
    SMAstats();

    // --- group data -----------------------------------------------------
    // Builds the groups from the profile's columns (filters, grouping,
    // removal of small groups, transformation), asks for the measurement-error
    // variances when that option is on, and writes the data-summary block.
    void input(profile& prof, std::ofstream& out);
    // Removes, in map order, the groups whose measurement-error variances
    // leave them no line, with a console line each and one report line.
    void removeGroupsBeyondError(std::ofstream& out);
    // Lists every group's points and fit on the console.
    void displayData() const;

    // --- estimators (depend on method only) ---------------------------------
    double sum(const std::vector<double>& v) const;
    // Sum of (centred) cross products over i < size(x).
    double SumSq(const std::vector<double>& x, const std::vector<double>& y, bool centred) const;
    // SumSq / (n - 1) when centred, SumSq / n otherwise.
    double variance(const std::vector<double>& x, const std::vector<double>& y, bool centred) const;
    double B_est(double SYY, double SXX, double SXY) const;
    double var_slope(double SYY, double SXX, double SXY, double varFitted, double varResid, double b,
                     int n) const;
    double var_fitted(double SYY, double SXX, double SXY, double b, int n, bool hasIntercept) const;
    double var_resid(double SYY, double SXX, double SXY, double b, int n, bool hasIntercept) const;
    double covar_rf(double SYY, double SXX, double SXY, double b, int n, bool hasIntercept) const;
    double residual_axis(double y, double x, double b) const;
    double fitted_axis(double y, double x, double b) const;
    double kb(double b) const;
    double XYFR(int type, double X, double Y, double F, double R) const;

    // --- individual lines -------------------------------------------------
    // Fits every group's line and its confidence limits.
    void fit_individual(profile& prof);
    // Moments, slope, axis variances and slope variance of every group; with
    // withAxes also the intercept and the per-point axis scores.
    void fit_lines(GroupMap& grps, bool withAxes) const;
    // The rest of one group's fit once its means and (co)variances are known.
    void fitFromMoments(summary_stats& g, bool withAxes) const;
    // Correlation p-value, confidence limits and intercept variance of every
    // group; sets slopeDecimals and intercDecimals.
    void fit_CIs(GroupMap& grps, double confPercent);
    // Writes the table of individual lines (and the tests against H0_b and
    // H0_a); leaves the report in fixed notation, left-adjusted.
    void print_individual_details(profile& prof, std::ofstream& out);

    // --- common slope -----------------------------------------------------
    // Iterative common slope of the map; writes slope when it converged (and
    // the last iterate when it did not). True when limit exceeds the number
    // of iterations used.
    bool fit_common(const GroupMap& grps, int limit, double& slope) const;
    // Likelihood-ratio statistic: b2 == 0 the common-slope statistic at b;
    // otherwise the statistic of common slope = b2 given the estimate b.
    double common_TestStat(const GroupMap& grps, double b, double b2) const;
    // Confidence limits of the common slope b (first the lower search's).
    std::pair<double, double> commonCI(const GroupMap& grps, double conf_level, double b) const;
    // The test for a common slope, with its report block; true when there is
    // one group or p > crit_p.
    bool test_common(profile& prof, std::ofstream& out);
    // The numbers of that test: common slope, statistic, p-value and, when
    // p > crit_p, the interval and the test against H0_b.
    CommonSlopeResult commonSlopeTest(const profile& prof) const;
    // p-value of the common-slope statistic: chi-squared (resample 0) or from
    // N - 1 resamples of the pooled residuals; NaN when the statistic is.
    double common_pval(const GroupMap& grps, int N, double b, int resample) const;
    // One resample of the common-slope test: every group of the copy fitted
    // again (as fit_lines without axes) to its points rebuilt from its
    // fitted-axis scores, its intercept and its share of the shuffled pool R.
    // The copy's X and Y hold no meaning afterwards.
    void refitResampled(GroupMap& copy, const std::vector<double>& R, double b) const;
    // Pairwise slope comparisons, asked for on the console.
    void slope_postHoc(profile& prof, std::ofstream& out);

    // --- lines with a common slope ----------------------------------------
    // Wald test of the group means of the fitted-axis (test 2) or
    // residual-axis (test 3) scores; stat receives W; returns p.
    double walds(GroupMap& grps, int test, double& stat, bool report, std::ofstream& out, double crit_p);
    // One group's mean of the tested axis score at the common slope, the
    // score's variance less the measurement errors, and the derivative of
    // the mean with respect to the slope.
    struct AxisScore {
        double mean, variance, slopeDerivative;
    };
    AxisScore axisScore(const summary_stats& gr, int test) const;
    // The numbers of that test; the common value only when p > crit_p.
    WaldResult waldTest(const GroupMap& grps, int test, double crit_p) const;
    // Recomputes every group's axis scores, their means and variances and the
    // slope variance at the common slope.
    void applyCommonSlope();
    // The comparison screen with its report and options menu.
    void ANCOVA(profile& prof, std::ofstream& out);
    // Pairwise Wald tests after a significant shift, with three report tables.
    void ANCOVA_post(GroupMap& grps, int test, double crit_p, std::ofstream& out);

    int method = 1;
    int intercept = 1;
    int measError = 0;
    GroupMap groups;
    double commonSlope = 0;
    double measErrY = 0;
    double measErrX = 0;
    int slopeDecimals = 0;
    int intercDecimals = 0;
    int intercWidth = 7;
    int slopeWidth = 7;
    int groupWidth = 7;
};

// -1 when v < 0, otherwise +1.
int sign(double v);
