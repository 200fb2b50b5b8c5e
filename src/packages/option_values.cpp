#include "packages/option_values.h"

#include <cmath>
#include <sstream>

#include "data/number_text.h"
#include "korvel/errors.h"
#include "korvel/settings.h"

namespace korvel {

FilterRequest filterOf(const std::vector<std::string>& filter, const std::string& shape)
{
    if (filter.size() == 2)
        return {filter[0], filter[1], "", "", false};
    if (filter.size() != 3)
        throw RequestError("a filter is " + shape);
    const auto min = decimalValue(filter[1]), max = decimalValue(filter[2]);
    if (!min || !max || !(*min < *max))
        throw RequestError("range " + filter[0] + "=" + filter[1] + ":" + filter[2] +
                           ": not two numbers, the minimum below the maximum");
    return {filter[0], "", filter[1], filter[2], true};
}

DataFormat formatOf(const std::string& word)
{
    if (word.empty())
        return DataFormat::ByContent;
    if (const auto format = valueOfOption(dataFormatNames, word))
        return *format;
    throw RequestError("format " + word + ": not one of " + optionWords(dataFormatNames));
}

int confidencePercentOf(const char* keyword, double fraction)
{
    const double percent = std::round(fraction * 100);
    const SettingLimits& limits = settingLimits;
    if (!(percent >= limits.confidenceLow && percent <= limits.confidenceHighFromOptions) ||
        std::abs(fraction * 100 - percent) > 1e-9) {
        std::ostringstream why;
        why << keyword << " " << fraction << ": not a fraction in whole percents from " << limits.confidenceLow / 100.0
            << " to " << limits.confidenceHighFromOptions / 100.0;
        throw RequestError(why.str());
    }
    return static_cast<int>(percent);
}

} // namespace korvel
