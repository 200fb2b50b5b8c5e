#include "report/analysis_end.h"

#include <string>

namespace korvel {

namespace {
constexpr std::size_t ruleLength = 100;
} // namespace

void writeAnalysisEnd(std::ostream& report)
{
    report << std::string(ruleLength, '-') << "\n" << std::endl;
}

} // namespace korvel
