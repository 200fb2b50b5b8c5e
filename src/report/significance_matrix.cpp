#include "report/significance_matrix.h"

#include <cmath>
#include <iomanip>

#include "report/text_columns.h"

namespace korvel {

const char* significanceMark(double p, double criticalP)
{
    if (std::isnan(p))
        return "?";
    return p < criticalP ? " " : "x";
}

char groupCode(int k)
{
    return static_cast<char>('1' + k);
}

void writeSignificanceMatrix(std::ostream& out, double criticalP, const std::string& valueLabel,
                             const std::list<RankedGroup>& ranking, int nameWidth,
                             const std::function<double(int, int)>& pairP)
{
    out << "\nSorted pair-wise significance matrix for critical p = " << std::setprecision(3) << criticalP
        << "; x is indicated where p > " << criticalP << "\nCode\t";
    out << std::left << std::setw(nameWidth) << "Group" << "\t" << std::setw(8) << valueLabel << "\t" << "n"
        << "\t|";
    for (int k = 0; k < static_cast<int>(ranking.size()); ++k)
        out << groupCode(k);
    out << "|";
    int row = 0;
    for (const RankedGroup& r : ranking) {
        out << "\n" << groupCode(row++) << "\t";
        writePadded(out, r.name, nameWidth);
        out << "\t" << std::fixed << std::setprecision(3) << std::setw(8) << r.value << "\t" << r.n << "\t|";
        for (const RankedGroup& c : ranking) {
            if (&c == &r)
                out << "0";
            else
                out << significanceMark(pairP(r.index, c.index), criticalP);
        }
        out << "|";
    }
    out << std::endl;
}

} // namespace korvel
