#include "rules/random.h"

#include <array>
#include <chrono>

namespace rules {

namespace {

constexpr std::uint64_t RotateLeft(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

constexpr std::uint64_t SplitMix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// SplitMix64 spreads any seed over the whole state, which is then never all zero.
constexpr std::array<std::uint64_t, 4> SeededState(std::uint64_t seed) {
    std::array<std::uint64_t, 4> words{};
    for (std::uint64_t& word : words)
        word = SplitMix64(seed);
    return words;
}

// Outside rules::state, so that a seeding holds across a ResetRulesState after it.
struct Generator {
    std::array<std::uint64_t, 4> words = SeededState(0); // xoshiro256**, usable before seeding
    std::uint64_t draws = 0;                             // calls of Random since the seeding
};
Generator generator;

std::uint64_t Next() {
    std::array<std::uint64_t, 4>& w = generator.words;
    const std::uint64_t result = RotateLeft(w[1] * 5, 7) * 9;
    const std::uint64_t t = w[1] << 17;
    w[2] ^= w[0];
    w[3] ^= w[1];
    w[1] ^= w[2];
    w[0] ^= w[3];
    w[2] ^= t;
    w[3] = RotateLeft(w[3], 45);
    return result;
}

} // namespace

std::int32_t Random(std::int32_t n) {
    ++generator.draws;
    const std::uint64_t x = Next();
    if (n <= 1) return 0;
    // Multiply-and-shift on the upper 32 bits, rejecting the few low products
    // that would favour some results (n < 2^31, so the product fits in 64 bits).
    const std::uint64_t range = static_cast<std::uint64_t>(n);
    std::uint64_t product = (x >> 32) * range;
    if (static_cast<std::uint32_t>(product) < range) {
        const std::uint32_t threshold =
            static_cast<std::uint32_t>((0x1'0000'0000ULL - range) % range);
        while (static_cast<std::uint32_t>(product) < threshold)
            product = (Next() >> 32) * range;
    }
    return static_cast<std::int32_t>(product >> 32);
}

void SeedRandom(std::uint64_t seed) {
    generator = {SeededState(seed), 0};
}

void SeedRandomFromClock() {
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    const auto mono = std::chrono::steady_clock::now().time_since_epoch().count();
    SeedRandom(static_cast<std::uint64_t>(wall) ^ RotateLeft(static_cast<std::uint64_t>(mono), 32));
}

std::uint64_t RandomDraws() {
    return generator.draws;
}

} // namespace rules
