#include "report/text_columns.h"

namespace korvel {

void writePadded(std::ostream& out, const std::string& text, int width)
{
    out << text;
    const int length = static_cast<int>(text.size());
    if (length < width)
        out << std::string(static_cast<std::size_t>(width - length), ' ');
}

} // namespace korvel
