#include "tools/assetgen/noise.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

std::uint64_t NextBits(Rng& rng) {
    std::uint64_t z = (rng.state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float NextUnit(Rng& rng) {
    return static_cast<float>(NextBits(rng) >> 40) / 16777216.0f;
}

float NextRange(Rng& rng, float lo, float hi) {
    return lo + (hi - lo) * NextUnit(rng);
}

namespace {

std::uint32_t Hash(std::uint32_t seed, std::int32_t x, std::int32_t y, std::int32_t z) {
    std::uint32_t h = seed * 0x27D4EB2Du;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h = (h << 11) | (h >> 21);
    h ^= static_cast<std::uint32_t>(z) * 0x165667B1u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

// Quintic fade: continuous second derivative, so no creases show in the shading.
float Fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

float Lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

int Wrap(int i, int period) {
    if (period <= 0) return i;
    const int m = i % period;
    return m < 0 ? m + period : m;
}

float Grad2(std::uint32_t h, float dx, float dy) {
    // Eight directions spread round the circle.
    static constexpr float kGx[8] = {1.0f, 0.7071f, 0.0f, -0.7071f, -1.0f, -0.7071f, 0.0f, 0.7071f};
    static constexpr float kGy[8] = {0.0f, 0.7071f, 1.0f, 0.7071f, 0.0f, -0.7071f, -1.0f, -0.7071f};
    return kGx[h & 7] * dx + kGy[h & 7] * dy;
}

float Grad3(std::uint32_t h, float dx, float dy, float dz) {
    switch (h % 12) {
    case 0:
        return dx + dy;
    case 1:
        return -dx + dy;
    case 2:
        return dx - dy;
    case 3:
        return -dx - dy;
    case 4:
        return dx + dz;
    case 5:
        return -dx + dz;
    case 6:
        return dx - dz;
    case 7:
        return -dx - dz;
    case 8:
        return dy + dz;
    case 9:
        return -dy + dz;
    case 10:
        return dy - dz;
    default:
        return -dy - dz;
    }
}

} // namespace

float Noise2(std::uint32_t seed, float x, float y, int period) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float dx = x - fx;
    const float dy = y - fy;
    const int x0 = Wrap(ix, period), x1 = Wrap(ix + 1, period);
    const int y0 = Wrap(iy, period), y1 = Wrap(iy + 1, period);
    const float n00 = Grad2(Hash(seed, x0, y0, 0), dx, dy);
    const float n10 = Grad2(Hash(seed, x1, y0, 0), dx - 1.0f, dy);
    const float n01 = Grad2(Hash(seed, x0, y1, 0), dx, dy - 1.0f);
    const float n11 = Grad2(Hash(seed, x1, y1, 0), dx - 1.0f, dy - 1.0f);
    const float u = Fade(dx);
    const float v = Fade(dy);
    return 1.4142f * Lerp(Lerp(n00, n10, u), Lerp(n01, n11, u), v);
}

float Noise3(std::uint32_t seed, float x, float y, float z) {
    const float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy), iz = static_cast<int>(fz);
    const float dx = x - fx, dy = y - fy, dz = z - fz;
    float corner[8];
    for (int c = 0; c < 8; ++c) {
        const int ox = c & 1, oy = (c >> 1) & 1, oz = (c >> 2) & 1;
        corner[c] = Grad3(Hash(seed, ix + ox, iy + oy, iz + oz), dx - static_cast<float>(ox),
                          dy - static_cast<float>(oy), dz - static_cast<float>(oz));
    }
    const float u = Fade(dx), v = Fade(dy), w = Fade(dz);
    const float a = Lerp(Lerp(corner[0], corner[1], u), Lerp(corner[2], corner[3], u), v);
    const float b = Lerp(Lerp(corner[4], corner[5], u), Lerp(corner[6], corner[7], u), v);
    return Lerp(a, b, w);
}

float Fbm2(std::uint32_t seed, float x, float y, int octaves, float gain, int period) {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * Noise2(seed + static_cast<std::uint32_t>(o) * 7919u, x, y, period);
        total += amplitude;
        amplitude *= gain;
        x *= 2.0f;
        y *= 2.0f;
        if (period > 0) period *= 2;
    }
    return sum / total;
}

float Fbm3(std::uint32_t seed, float x, float y, float z, int octaves, float gain) {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * Noise3(seed + static_cast<std::uint32_t>(o) * 7919u, x, y, z);
        total += amplitude;
        amplitude *= gain;
        x *= 2.0f;
        y *= 2.0f;
        z *= 2.0f;
    }
    return sum / total;
}

float SmoothStep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

} // namespace assetgen
