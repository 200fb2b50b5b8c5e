#include "cli/progress_line.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace korvel {

namespace {
double steadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

const char* nameOf(Stage stage)
{
    switch (stage) {
    case Stage::Reading:
        return "reading the data";
    case Stage::Counting:
        return "counting the lines";
    case Stage::Loading:
        return "reading the columns";
    default:
        return "resampling";
    }
}

// "N s left" under a minute, else "M min N s left".
std::string timeLeft(double seconds)
{
    const long long s = std::llround(std::ceil(seconds));
    char text[48];
    if (s < 60)
        std::snprintf(text, sizeof text, ", %lld s left", s);
    else
        std::snprintf(text, sizeof text, ", %lld min %lld s left", s / 60, s % 60);
    return text;
}
} // namespace

ProgressLine::ProgressLine(std::ostream& out, ProgressThresholds thresholds, Clock clock)
    : out(out), thresholds(thresholds), clock(clock ? std::move(clock) : Clock(steadySeconds))
{
}

ProgressLine::~ProgressLine()
{
    clear();
}

void ProgressLine::begin(Stage s, long long t, double work)
{
    stage = s;
    total = t;
    shown = work >= (stage == Stage::Resampling ? thresholds.pointResamples : thresholds.bytes);
    started = clock();
}

std::string ProgressLine::text(long long done) const
{
    char amount[80];
    const bool bytes = stage != Stage::Resampling;
    if (bytes && total > 0)
        std::snprintf(amount, sizeof amount, "%.1f of %.1f MB", done / 1e6, total / 1e6);
    else if (bytes)
        std::snprintf(amount, sizeof amount, "%.1f MB", done / 1e6);
    else
        std::snprintf(amount, sizeof amount, "%lld of %lld", done, total);
    const double elapsed = clock() - started;
    const bool estimable = total > 0 && done > 0 && elapsed > 0;
    return std::string("korvel: ") + nameOf(stage) + ": " + amount +
           (estimable ? timeLeft(elapsed * static_cast<double>(total - done) / static_cast<double>(done)) : "");
}

void ProgressLine::advance(long long done)
{
    shown = shown || (total == 0 && done >= thresholds.bytes);
    if (!shown)
        return;
    const std::string line = text(done);
    out << '\r' << line;
    if (line.size() < drawn)
        out << std::string(drawn - line.size(), ' ');
    drawn = std::max(drawn, line.size());
    out << std::flush;
}

void ProgressLine::clear()
{
    if (drawn > 0)
        out << '\r' << std::string(drawn, ' ') << '\r' << std::flush;
    drawn = 0;
}

void ProgressLine::end()
{
    clear();
    shown = false;
}

} // namespace korvel
