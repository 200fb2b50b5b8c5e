#include "report/plain_nan.h"

#include <cmath>
#include <locale>

namespace korvel {

namespace {
class PlainNaN : public std::num_put<char> {
protected:
    iter_type do_put(iter_type out, std::ios_base& str, char_type fill, double v) const override
    {
        return std::num_put<char>::do_put(out, str, fill, std::isnan(v) ? std::fabs(v) : v);
    }
};
} // namespace

void writeNaNPlainly(std::ostream& out)
{
    out.imbue(std::locale(out.getloc(), new PlainNaN));
}

} // namespace korvel
