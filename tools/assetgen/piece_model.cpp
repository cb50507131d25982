#include "tools/assetgen/piece_model.h"

#include <algorithm>
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

int RingSides(float radius) {
    int sides = 4;
    while (radius * kLargestPixelsPerUnit * (1.0f - std::cos(std::numbers::pi_v<float> / sides)) >
           kOutlineStrayPixels)
        sides += 2;
    return sides;
}

Mesh Revolve(const Profile& profile, const std::vector<int>& sides) {
    if (profile.size() < 3 || profile.front()[0] != 0.0f || profile.back()[0] != 0.0f)
        throw std::invalid_argument("a profile runs from the axis to the axis");
    if (sides.size() != profile.size() - 2 ||
        std::ranges::any_of(sides, [](int n) { return n < 3; }))
        throw std::invalid_argument("every ring of a profile needs 3 sides or more");
    Mesh mesh;
    const std::uint16_t bottom = AddVertex(mesh, {0.0f, 0.0f, profile.front()[1]});
    std::vector<std::vector<std::uint16_t>> rings;
    for (std::size_t i = 1; i + 1 < profile.size(); ++i) {
        const int n = sides[i - 1];
        std::vector<std::uint16_t> ring;
        for (int s = 0; s < n; ++s) {
            const float a = 2.0f * std::numbers::pi_v<float> * static_cast<float>(s) / n;
            ring.push_back(AddVertex(
                mesh, {profile[i][0] * std::cos(a), profile[i][0] * std::sin(a), profile[i][1]}));
        }
        rings.push_back(std::move(ring));
    }
    const std::uint16_t top = AddVertex(mesh, {0.0f, 0.0f, profile.back()[1]});

    // The faces are laid down band by band, each tagged with the column of the finest ring
    // its first corner falls in and its band, then put in order column by column round the
    // axis: a translucent piece then blends its faces in the same order whatever the rings'
    // sides, as it did when every ring had as many.
    const int columns = std::ranges::max(sides);
    std::vector<std::pair<int, int>> keys; // (column, band) of each face
    const auto tag = [&](RingStep at, int band) {
        keys.emplace_back(at.step * columns / at.of, band);
    };
    const auto ringAt = [&](std::size_t r, int s) {
        return rings[r][static_cast<std::size_t>(s % sides[r])];
    };
    for (int s = 0; s < sides.front(); ++s) {
        AddTriangle(mesh, bottom, ringAt(0, s + 1), ringAt(0, s));
        tag({s, sides.front()}, 0);
    }
    for (std::size_t r = 0; r + 1 < rings.size(); ++r)
        for (const RingStep at : ZipRings(mesh, rings[r], rings[r + 1]))
            tag(at, static_cast<int>(r) + 1);
    const std::size_t last = rings.size() - 1;
    for (int s = 0; s < sides.back(); ++s) {
        AddTriangle(mesh, ringAt(last, s), ringAt(last, s + 1), top);
        tag({s, sides.back()}, static_cast<int>(last) + 1);
    }

    std::vector<std::size_t> order(mesh.faces.size());
    for (std::size_t f = 0; f < order.size(); ++f)
        order[f] = f;
    std::ranges::stable_sort(order, {}, [&](std::size_t f) { return keys[f]; });
    std::vector<std::array<std::uint16_t, 3>> faces;
    for (const std::size_t f : order)
        faces.push_back(mesh.faces[f]);
    mesh.faces = std::move(faces);
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

    std::vector<int> sides;
    for (std::size_t i = 1; i + 1 < p.size(); ++i)
        sides.push_back(RingSides(p[i][0]));
    return Revolve(p, sides);
}

} // namespace assetgen
