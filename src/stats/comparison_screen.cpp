// Comparing lines that share the common slope: the report of the lines at
// that slope and the options menu (save scores, elevation and shift tests).
#include <cctype>
#include <iomanip>
#include <iostream>

#include "SMAstats.h"
#include "console.h"
#include "report_file.h"
#include "plain_nan.h"
#include "same_file.h"
#include "text.h"

namespace {
// Means over all points of all groups.
struct GrandMeans {
    int N = 0;
    double X = 0, Y = 0, F = 0, R = 0;
};

GrandMeans grandMeans(const GroupMap& grps)
{
    GrandMeans gm;
    double sx = 0, sy = 0, sf = 0, sr = 0;
    for (const auto& entry : grps) {
        const summary_stats& g = entry.second;
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

// Texts of one of the two tests of the options menu.
struct ShiftTest {
    int test;
    const char* announce;
    const char* significant;
    const char* answerYes;
    const char* notSignificant;
};

const ShiftTest elevationTest{3, "\nTesting for shifts in elevation between groups",
                              "Significant elevation shift between groups!", "\nRunning post-hoc multiple comparisons",
                              "No elevation shift between groups"};
const ShiftTest shiftTest{2, "\nTesting for shifts along the common slope", "Significant shift along common slope!",
                          "Running post-hoc multiple comparisons", "No shift along common slope"};

const char* transformedText(int method)
{
    return method == 0 ? "as R=Y-Bx, F= X for B= " : method == 1 ? "as R=Y-Bx, F= Y+BX for B= " : "as R=Y-Bx, F= BY+X for B= ";
}
} // namespace

void SMAstats::applyCommonSlope()
{
    const double B = commonSlope;
    const bool hasIntercept = intercept == 1;
    for (auto& entry : groups) {
        summary_stats& g = entry.second;
        for (std::size_t i = 0; i < g.X.size(); ++i) {
            g.residAxis[i] = residual_axis(g.Y[i], g.X[i], B);
            g.fittedAxis[i] = fitted_axis(g.Y[i], g.X[i], B);
        }
        g.fittedMean = sum(g.fittedAxis) / g.n;
        g.residMean = sum(g.residAxis) / g.n;
        g.varFitted = var_fitted(g.SYY, g.SXX, g.SXY, B, g.n, hasIntercept);
        g.varResid = var_resid(g.SYY, g.SXX, g.SXY, B, g.n, hasIntercept);
        g.covarRF = covar_rf(g.SYY, g.SXX, g.SXY, B, g.n, hasIntercept);
        g.varSlope = var_slope(g.SYY, g.SXX, g.SXY, g.varFitted, g.varResid, B, g.n);
    }
}

static void writeCommonLines(std::ofstream& out, const SMAstats& st)
{
    const double B = st.commonSlope;
    const GrandMeans gm = grandMeans(st.groups);
    out << std::fixed << "Common slope:\t" << std::setprecision(st.slopeDecimals) << B << "\t" << "Grand mean X:"
        << "\t" << std::setprecision(3) << gm.X << "\t" << "Grand mean Y:" << "\t" << gm.Y << "\t"
        << "Grand mean F:" << "\t" << gm.F << "\t" << "Grand mean R:" << "\t" << gm.R << std::endl;
    out << std::left << std::setw(st.groupWidth) << "\nGroup" << "\tn\tR2\t";
    for (const char* label : {"Interc", "YgrandX", "XgrandY", "Ymean", "Xmean", "Fmean", "Rmean"})
        out << std::setw(7) << label << "\t";
    out << std::endl;
    for (const auto& entry : st.groups) {
        const summary_stats& g = entry.second;
        const double a = g.Ymean - B * g.Xmean;
        Print_String(entry.first, out, st.groupWidth);
        out << "\t" << g.n << "\t" << std::setprecision(3) << g.R2;
        for (double v : {a, a + B * gm.X, (gm.Y - a) / B, g.Ymean, g.Xmean, g.fittedMean, g.residMean})
            out << "\t" << std::setw(7) << v;
        out << std::endl;
    }
}

static void showOptions(bool hasIntercept)
{
    std::cout << "ANCOVA OPTIONS\n\n" << std::endl;
    std::cout << "S - Save transformed data to disk" << std::endl;
    if (hasIntercept)
        std::cout << "R - compare Residuals for shifts in elevation" << std::endl;
    std::cout << "F - compare Fitted values for shifts along the common slope" << std::endl;
    std::cout << "X - eXit" << std::endl;
}

// Writes the axis scores of every point, groups in map order and points in
// the data file's order.
static void saveTransformed(const SMAstats& st, const profile& prof, std::ofstream& out)
{
    std::cout << "\n Enter name of output filename-> ";
    // Neither the data file nor the open report is ever replaced.
    const std::string name = reaskUntil(readWord(), [&prof](const std::string& w) {
        return !sameFile(w, prof.filename) && (reportFileName().empty() || !sameFile(w, reportFileName()));
    });
    std::ofstream file;
    writeNaNPlainly(file);
    file.open(name, std::ios::out | std::ios::trunc);
    if (!file.is_open())
        fileNotOpened(name);
    file << "Group\tY\tX\tR\tF" << std::endl;
    for (const auto& entry : st.groups) {
        const summary_stats& g = entry.second;
        for (std::size_t i = g.X.size(); i-- > 0;)
            file << entry.first << "\t" << g.Y[i] << "\t" << g.X[i] << "\t" << g.residAxis[i] << "\t"
                 << g.fittedAxis[i] << std::endl;
    }
    file.close();
    out << "\nData transformed" << transformedText(st.method) << st.commonSlope << "\nTransformed data saved to file "
        << name << std::endl;
}

void SMAstats::ANCOVA(profile& prof, std::ofstream& out)
{
    if (groups.size() <= 1)
        return;
    std::cout << "\nRun comparisons for lines with common slope? (y or n)" << std::endl;
    if (std::tolower(static_cast<unsigned char>(readChar())) != 'y') {
        out << "\nComparisons of lines with common slope not run" << std::endl;
        std::cout << "\nComparisons of lines with common slope not run" << std::endl;
        return;
    }
    out << "\nCOMPARISON OF LINES WITH COMMON SLOPE" << std::endl;
    applyCommonSlope();
    writeCommonLines(out, *this);

    for (;;) {
        showOptions(intercept == 1);
        const char choice = static_cast<char>(std::tolower(static_cast<unsigned char>(readRawChar())));
        if (choice == 'x')
            return;
        if (choice == 's') {
            saveTransformed(*this, prof, out);
        } else if (choice == 'r' && intercept != 1) {
            std::cout << "Not possible for lines fitted through the origin";
        } else if (choice == 'r' || choice == 'f') {
            const ShiftTest& t = choice == 'r' ? elevationTest : shiftTest;
            out << t.announce;
            std::cout << t.announce;
            double stat = 0;
            const double p = walds(groups, t.test, stat, true, out, prof.crit_p);
            if (p < prof.crit_p) {
                out << t.significant << std::endl;
                std::cout << t.significant << "\n\nRun post-hoc multiple comparisons (y or n)?" << std::endl;
                if (readChar() == 'y') {
                    out << t.answerYes << std::endl;
                    ANCOVA_post(groups, t.test, prof.crit_p, out);
                } else {
                    out << "No post-hoc multiple comparisons" << std::endl;
                }
            } else {
                out << t.notSignificant << std::endl;
                std::cout << t.notSignificant << std::endl;
            }
        }
    }
}
