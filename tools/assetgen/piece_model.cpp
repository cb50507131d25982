#include "tools/assetgen/piece_model.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace assetgen {

namespace {

using Profile = std::vector<std::array<float, 2>>; // (radius, height) pairs

constexpr float kDegree = std::numbers::pi_v<float> / 180.0f;

// Points along a circular arc in the profile plane, the start point left out.
void Arc(Profile& p, float cr, float cz, float radius, float fromDeg, float toDeg, int steps) {
    for (int i = 1; i <= steps; ++i) {
        const float a = (fromDeg + (toDeg - fromDeg) * static_cast<float>(i) / steps) * kDegree;
        p.push_back({cr + radius * std::cos(a), cz + radius * std::sin(a)});
    }
}

// A quadratic curve from the last point through the pull of (cr, cz) to (er, ez).
void Curve(Profile& p, float cr, float cz, float er, float ez, int steps) {
    const float sr = p.back()[0], sz = p.back()[1];
    for (int i = 1; i <= steps; ++i) {
        const float t = static_cast<float>(i) / steps, u = 1.0f - t;
        p.push_back(
            {u * u * sr + 2 * u * t * cr + t * t * er, u * u * sz + 2 * u * t * cz + t * t * ez});
    }
}

} // namespace

Mesh Revolve(const Profile& profile, int segments) {
    if (profile.size() < 3 || profile.front()[0] != 0.0f || profile.back()[0] != 0.0f)
        throw std::invalid_argument("a profile runs from the axis to the axis");
    Mesh mesh;
    const std::uint16_t bottom = AddVertex(mesh, {0.0f, 0.0f, profile.front()[1]});
    std::vector<std::vector<std::uint16_t>> rings;
    for (std::size_t i = 1; i + 1 < profile.size(); ++i) {
        std::vector<std::uint16_t> ring;
        for (int s = 0; s < segments; ++s) {
            const float a = 2.0f * std::numbers::pi_v<float> * static_cast<float>(s) / segments;
            ring.push_back(AddVertex(
                mesh, {profile[i][0] * std::cos(a), profile[i][0] * std::sin(a), profile[i][1]}));
        }
        rings.push_back(std::move(ring));
    }
    const std::uint16_t top = AddVertex(mesh, {0.0f, 0.0f, profile.back()[1]});
    const auto next = [segments](int s) { return static_cast<std::size_t>((s + 1) % segments); };
    for (int s = 0; s < segments; ++s) {
        const std::size_t j = static_cast<std::size_t>(s);
        AddTriangle(mesh, bottom, rings.front()[next(s)], rings.front()[j]);
        for (std::size_t r = 0; r + 1 < rings.size(); ++r)
            AddQuad(mesh, rings[r][j], rings[r][next(s)], rings[r + 1][next(s)], rings[r + 1][j]);
        AddTriangle(mesh, rings.back()[j], rings.back()[next(s)], top);
    }
    return mesh;
}

Mesh BuildPiece() {
    // Foot bead, a flared body, a collar and a ball: crisp where the turning tool cut a step
    // (the smoothing rule keeps those edges), round everywhere else. Each curve has just the
    // steps that keep its outline within half a pixel of the true curve where a piece shows
    // largest, and its neighbouring faces well inside the smoothing rule's 60 degrees.
    Profile p{{0.0f, 0.0f}, {3.25f, 0.0f}};
    Arc(p, 3.25f, 0.35f, 0.35f, -90.0f, 90.0f, 4); // foot bead out to r = 3.6
    p.push_back({3.0f, 0.78f});
    Curve(p, 1.45f, 1.0f, 1.2f, 3.0f, 5); // the body sweeps in and up
    p.push_back({1.8f, 3.1f});
    Arc(p, 1.8f, 3.3f, 0.2f, -90.0f, 90.0f, 4); // collar
    p.push_back({1.0f, 3.54f});
    const float ballZ = kPieceHeight - 1.3f, ballR = 1.3f;
    const float startZ = 3.6f;
    const float startDeg = std::asin((startZ - ballZ) / ballR) / kDegree;
    p.push_back({ballR * std::cos(startDeg * kDegree), startZ});
    Arc(p, 0.0f, ballZ, ballR, startDeg, 90.0f, 6);
    p.back()[0] = 0.0f;

    return Revolve(p, kPieceSides);
}

} // namespace assetgen
