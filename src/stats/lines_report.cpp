// The report table of the individually fitted lines.
#include <algorithm>
#include <cmath>
#include <iomanip>

#include "SMAstats.h"
#include "distributions.h"
#include "hypothesis_tests.h"
#include "text.h"

TestResult slopeTest(const SMAstats& st, const summary_stats& g, double b0)
{
    const bool hasIntercept = st.intercept == 1;
    const double rF = st.covar_rf(g.SYY, g.SXX, g.SXY, b0, g.n, hasIntercept);
    const double vF = st.var_fitted(g.SYY, g.SXX, g.SXY, b0, g.n, hasIntercept);
    const double vR = st.var_resid(g.SYY, g.SXX, g.SXY, b0, g.n, hasIntercept);
    const double r2 = rF * rF / (vF * vR);
    TestResult result;
    result.stat = (g.n - 2) * r2 / (1 - r2);
    result.p = fdistQ(result.stat, 1, hasIntercept ? g.n - 2 : g.n - 1);
    return result;
}

TestResult interceptTest(const summary_stats& g, double a0)
{
    TestResult result;
    result.stat = (g.interc - a0) / std::sqrt(g.varInterc);
    result.p = 2 * tdistP(-std::fabs(result.stat), g.n - 2);
    return result;
}

void SMAstats::print_individual_details(profile& prof, std::ofstream& out)
{
    slopeWidth = std::max(slopeDecimals + 4, 7);
    intercWidth = std::max(intercDecimals + 4, 7);
    const bool slopeBlock = prof.H0_b != 0;
    const bool intercBlock = prof.H0_a != 0 && intercept == 1;

    out << (prof.method == 0 ? "\nOLS " : prof.method == 1 ? "\nSMA " : "\nMA ") << "results\n";
    out << std::left;
    out << std::setw(groupWidth) << "Group" << "\t" << std::setw(7) << "n" << "\t" << std::setw(7) << "R2" << "\t"
        << std::setw(7) << "p" << "\t";
    for (const char* label : {"Slope", "LowCI", "UppCI"})
        out << std::setw(slopeWidth) << label << "\t";
    for (const char* label : {"Interc", "LowCI", "UppCI"})
        out << std::setw(intercWidth) << label << "\t";
    out << std::setw(7) << "Ymean" << "\t" << std::setw(7) << "Xmean" << "\t";
    if (slopeBlock)
        out << std::setw(slopeWidth) << "H0_b" << "\t" << std::setw(7) << "F" << "\t" << std::setw(7) << "p" << "\t";
    if (intercBlock)
        out << std::setw(intercWidth) << "H0_a" << "\t" << std::setw(7) << "T" << "\t" << std::setw(7) << "p";
    out << std::endl;

    for (const auto& entry : groups) {
        const summary_stats& g = entry.second;
        Print_String(entry.first, out, groupWidth);
        out << "\t" << g.n << "\t";
        out << std::fixed << std::setprecision(3);
        out << std::setw(7) << g.R2 << "\t" << std::setw(7) << g.p << "\t";
        out << std::setprecision(slopeDecimals);
        for (double v : {g.slope, g.slopeLowCI, g.slopeUppCI})
            out << std::setw(slopeWidth) << v << "\t";
        out << std::setprecision(intercDecimals);
        for (double v : {g.interc, g.intercLowCI, g.intercUppCI})
            out << std::setw(intercWidth) << v << "\t";
        out << std::setprecision(3) << std::setw(7) << g.Ymean << "\t" << std::setw(7) << g.Xmean << "\t";
        if (slopeBlock) {
            const TestResult t = slopeTest(*this, g, prof.H0_b);
            out << std::setw(slopeWidth) << prof.H0_b << "\t" << std::setw(7) << t.stat << "\t" << std::setw(7)
                << t.p << "\t";
        }
        if (intercBlock) {
            const TestResult t = interceptTest(g, prof.H0_a);
            out << std::setw(intercWidth) << prof.H0_a << "\t" << std::setw(7) << t.stat << "\t" << std::setw(7)
                << t.p;
        }
        out << std::endl;
    }
}
