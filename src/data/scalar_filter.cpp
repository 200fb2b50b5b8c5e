#include "data/scalar_filter.h"

#include <limits>

#include "data/number_text.h"

namespace korvel {

std::string scalarLabel(const std::string& cell, const ScalarClasses& classes)
{
    const double value = atofValue(cell);
    if (value > atofValue(classes.max))
        return "> " + classes.max;
    if (atofValue(classes.min) > value)
        return "< " + classes.min;
    return "> " + classes.min + " & < " + classes.max;
}

void sortIntoClasses(LabelColumn& column, const ScalarClasses& classes)
{
    const std::uint32_t unmapped = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> classOf(column.labels.size(), unmapped);
    std::vector<std::string> labels;
    for (std::uint32_t& id : column.ids) {
        if (classOf[id] == unmapped) {
            const std::string label = scalarLabel(column.labels[id], classes);
            std::uint32_t k = 0;
            while (k < labels.size() && labels[k] != label)
                ++k;
            if (k == labels.size())
                labels.push_back(label);
            classOf[id] = k;
        }
        id = classOf[id];
    }
    column.labels = std::move(labels);
}

} // namespace korvel
