#include "pair_table.h"

#include <iomanip>

#include "text.h"

std::vector<std::string> groupNames(const GroupMap& grps)
{
    std::vector<std::string> names;
    for (const auto& entry : grps)
        names.push_back(entry.first);
    return names;
}

void writePairTable(std::ostream& out, const std::vector<std::string>& names, int nameWidth, int columnWidth,
                    const std::function<void(int, int)>& cell)
{
    out << std::left << std::setw(nameWidth) << "Group" << "\t";
    for (const std::string& name : names) {
        Print_String(name, out, columnWidth);
        out << "\t";
    }
    out << std::endl;
    const int g = static_cast<int>(names.size());
    for (int r = 0; r < g; ++r) {
        Print_String(names[static_cast<std::size_t>(r)], out, nameWidth);
        out << "\t";
        for (int c = 0; c < g; ++c)
            cell(r, c);
        out << std::endl;
    }
}

void writePvalueTable(std::ostream& out, const std::vector<std::string>& names, int nameWidth, int decimals,
                      const std::function<double(int, int)>& pairP)
{
    out << "\np-values only\n";
    writePairTable(out, names, nameWidth, nameWidth, [&](int r, int c) {
        out << std::fixed << std::setw(nameWidth);
        if (c == r)
            out << std::setprecision(1) << 1.0;
        else
            out << std::setprecision(decimals) << pairP(r, c);
        out << "\t";
    });
}
