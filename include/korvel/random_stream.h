// The stream of pseudo-random numbers that the resampling shuffles with: the
// additive feedback generator of the GNU C library's rand(), reproduced bit for
// bit so that a resampling p-value is the same on every platform. A stream not
// seeded is the one seeded with 1, as rand() is before any srand().
#pragma once

#include <array>
#include <cstdint>

namespace korvel {

class RandomStream {
public:
    // The stream of srand(seed); seed 0 gives the stream of 1.
    explicit RandomStream(std::uint32_t seed = 1);
    // The next number, from 0 to 2^31 - 1, as rand() gives it.
    std::uint32_t next();

private:
    std::array<std::uint32_t, 31> state{};
    std::size_t front = 3, rear = 0; // the two taps of r[i] = r[i - 31] + r[i - 3]
};

} // namespace korvel
