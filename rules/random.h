// The game's pseudo-random generator.
#pragma once

#include <cstdint>

namespace rules {

// A uniform integer 0..n-1; 0 when n <= 1. Every call advances the generator.
std::int32_t Random(std::int32_t n);
void SeedRandom(std::uint64_t seed);
void SeedRandomFromClock();
// Calls of Random since the last seeding.
std::uint64_t RandomDraws();

} // namespace rules
