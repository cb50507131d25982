// Deterministic randomness and gradient noise for the procedural pictures.
#pragma once

#include <cstdint>

namespace assetgen {

// A small seeded generator (splitmix64): the same seed gives the same pictures on every build.
struct Rng {
    std::uint64_t state = 0;
};
std::uint64_t NextBits(Rng& rng);
// Uniform in [0, 1).
float NextUnit(Rng& rng);
// Uniform in [lo, hi).
float NextRange(Rng& rng, float lo, float hi);

// Gradient noise in about -1..1. A period of 0 never repeats; a positive period makes the
// noise repeat every `period` units in x and y, so pictures built from it tile seamlessly.
float Noise2(std::uint32_t seed, float x, float y, int period = 0);
float Noise3(std::uint32_t seed, float x, float y, float z);

// Sums of octaves of Noise2, each twice the frequency and `gain` times the amplitude of the
// last; normalised to about -1..1. With a period, every octave repeats with it.
float Fbm2(std::uint32_t seed, float x, float y, int octaves, float gain = 0.5f, int period = 0);
float Fbm3(std::uint32_t seed, float x, float y, float z, int octaves, float gain = 0.5f);

// Hermite step between edge0 and edge1, as in shading languages.
float SmoothStep(float edge0, float edge1, float x);

} // namespace assetgen
