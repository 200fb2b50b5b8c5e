#include "signif_matrix.h"

#include <cmath>
#include <iomanip>

#include "text.h"

void insertSorted(std::list<PH_data>& sorted, const PH_data& entry)
{
    auto it = sorted.begin();
    while (it != sorted.end() && !(it->value >= entry.value))
        ++it;
    sorted.insert(it, entry);
}

std::list<PH_data> sortedGroups(const GroupMap& grps, const std::function<double(const summary_stats&)>& value)
{
    std::list<PH_data> sorted;
    int index = 0;
    for (const auto& entry : grps) {
        PH_data d;
        d.value = value(entry.second);
        d.grp_index = index++;
        d.grp_name = entry.first;
        d.n = entry.second.n;
        insertSorted(sorted, d);
    }
    return sorted;
}

const char* significanceMark(double p, double crit_p)
{
    if (std::isnan(p))
        return "?";
    return p < crit_p ? " " : "x";
}

char groupCode(int k)
{
    return static_cast<char>('1' + k);
}

void writeSignificanceMatrix(std::ostream& out, double crit_p, const std::string& valueLabel,
                             const std::list<PH_data>& sorted, int nameWidth,
                             const std::function<double(int, int)>& pairP)
{
    out << "\nSorted pair-wise significance matrix for critical p = " << std::setprecision(3) << crit_p
        << "; x is indicated where p > " << crit_p << "\nCode\t";
    out << std::left << std::setw(nameWidth) << "Group" << "\t" << std::setw(8) << valueLabel << "\t" << "n"
        << "\t|";
    for (int k = 0; k < static_cast<int>(sorted.size()); ++k)
        out << groupCode(k);
    out << "|";
    int row = 0;
    for (const PH_data& r : sorted) {
        out << "\n" << groupCode(row++) << "\t";
        Print_String(r.grp_name, out, nameWidth);
        out << "\t" << std::fixed << std::setprecision(3) << std::setw(8) << r.value << "\t" << r.n << "\t|";
        for (const PH_data& c : sorted) {
            if (&c == &r)
                out << "0";
            else
                out << significanceMark(pairP(r.grp_index, c.grp_index), crit_p);
        }
        out << "|";
    }
    out << std::endl;
}
