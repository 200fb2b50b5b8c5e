#include "korvel/random_stream.h"

namespace korvel {

namespace {
// The seed is spread over the 31 words of the state by the minimal standard
// generator, 16807 w mod (2^31 - 1) (Schrage's method, as the C library does
// it, with the seed taken as a signed 32-bit word); the first 310 numbers are
// then discarded.
constexpr std::int32_t multiplier = 16807, modulus = 2147483647, quotient = 127773, remainder = 2836;
constexpr int discarded = 310;
} // namespace

RandomStream::RandomStream(std::uint32_t seed)
{
    if (seed == 0)
        seed = 1;
    auto word = static_cast<std::int32_t>(seed);
    state[0] = static_cast<std::uint32_t>(word);
    for (std::size_t i = 1; i < state.size(); ++i) {
        const std::int32_t hi = word / quotient, lo = word % quotient;
        word = multiplier * lo - remainder * hi;
        if (word < 0)
            word += modulus;
        state[i] = static_cast<std::uint32_t>(word);
    }
    for (int k = 0; k < discarded; ++k)
        next();
}

std::uint32_t RandomStream::next()
{
    state[front] += state[rear];
    const std::uint32_t value = state[front] >> 1;
    front = front + 1 == state.size() ? 0 : front + 1;
    rear = rear + 1 == state.size() ? 0 : rear + 1;
    return value;
}

} // namespace korvel
