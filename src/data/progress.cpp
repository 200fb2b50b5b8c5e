#include "korvel/progress.h"

namespace korvel {

namespace {
class NoProgress : public Progress {
public:
    void begin(Stage, long long, double) override {}
    void advance(long long) override {}
    void end() override {}
};
} // namespace

Progress& noProgress()
{
    static NoProgress none;
    return none;
}

} // namespace korvel
