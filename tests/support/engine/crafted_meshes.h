// Big meshes, up to the store's limits, many of them made to attack the smoothed normals:
// shared by the geometry tests, the display-list benchmark and the hostile archives.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "engine/store.h"
#include "tools/model3ds/model3ds_writer.h"

namespace crafted {

using engine::TVector3;

inline TVector3 Cross(const TVector3& a, const TVector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline float Dot(const TVector3& a, const TVector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline TVector3 Scaled(const TVector3& v, float length) {
    const float k = length / std::sqrt(Dot(v, v));
    return {v.x * k, v.y * k, v.z * k};
}

// A fan round vertex 0 whose triangle i has normals[i] as its face normal: each rim vertex is
// perpendicular to the normals of both triangles it joins. Neighbouring normals must differ.
inline tools3ds::Mesh FanWithNormals(const std::vector<TVector3>& normals) {
    tools3ds::Mesh mesh;
    mesh.name = "fan";
    mesh.vertices.push_back({0, 0, 0});
    const std::size_t count = normals.size();
    mesh.vertices.push_back(Scaled(Cross(normals.front(), {0.3f, 0.5f, 0.7f}), 10));
    for (std::size_t i = 1; i < count; ++i)
        mesh.vertices.push_back(Scaled(Cross(normals[i - 1], normals[i]), 10));
    mesh.vertices.push_back(Scaled(Cross(normals.back(), {0.7f, 0.1f, 0.2f}), 10));
    for (std::size_t i = 0; i < count; ++i) {
        const auto a = static_cast<std::uint16_t>(1 + i), b = static_cast<std::uint16_t>(2 + i);
        // The loader's face normal of (0, a, b) points along b x a.
        const bool along = Dot(Cross(mesh.vertices[b], mesh.vertices[a]), normals[i]) >= 0;
        mesh.faces.push_back(along ? std::array<std::uint16_t, 3>{0, a, b}
                                   : std::array<std::uint16_t, 3>{0, b, a});
    }
    return mesh;
}

// Normals crowded at one another's 60-degree edge: every other one close round the pole, the
// rest round the circle 60 degrees from it, each moved by up to `jitter` radians. The edge of
// every cap then runs through the other crowd, so that a box tree has to test nearly all of it.
inline std::vector<TVector3> CrowdedNormals(int count, double jitter = 1e-4, unsigned seed = 7) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> spread(-1, 1);
    const double pi = std::acos(-1.0);
    std::vector<TVector3> normals;
    for (int i = 0; i < count; ++i) {
        const double polar = (i % 2 == 0 ? 0 : pi / 3) + jitter * spread(random);
        const double longitude = pi * spread(random);
        normals.push_back({static_cast<float>(std::sin(polar) * std::cos(longitude)),
                           static_cast<float>(std::sin(polar) * std::sin(longitude)),
                           static_cast<float>(std::cos(polar))});
    }
    return normals;
}

// The crowded fan at the store's limit: 65533 triangles round one vertex, 65535 vertices.
inline tools3ds::Mesh CrowdedFan(int count = 65533) {
    return FanWithNormals(CrowdedNormals(count));
}

// 65535 triangles between three groups of `perGroup` vertices at random places, one from each:
// every vertex is shared by 65535 / perGroup triangles whose normals point every way, none
// twice, so that no shortcut saves a vertex from summing all of them for each corner. The
// triangles differ while perGroup^3 >= triangles.
inline tools3ds::Mesh Hubs(int perGroup, int triangles = 65535) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> place(-1, 1);
    tools3ds::Mesh mesh;
    mesh.name = "hubs";
    for (int i = 0; i < 3 * perGroup; ++i)
        mesh.vertices.push_back({place(random), place(random), place(random)});
    const int g = perGroup;
    for (int t = 0; t < triangles; ++t)
        mesh.faces.push_back({static_cast<std::uint16_t>(t % g),
                              static_cast<std::uint16_t>(g + t / g % g),
                              static_cast<std::uint16_t>(2 * g + (t / (g * g) + t) % g)});
    return mesh;
}

// `count` triangles round vertex 0 at height `apex` over a unit circle; with `split` the second
// half of the fan is turned up 90 degrees.
inline tools3ds::Mesh Fan(int count, float apex, bool split = false) {
    tools3ds::Mesh mesh;
    mesh.name = "fan";
    mesh.vertices.push_back({0, 0, apex});
    for (int i = 0; i < count; ++i) {
        const double a = 2 * std::acos(-1.0) * i / count;
        const auto c = static_cast<float>(std::cos(a)), s = static_cast<float>(std::sin(a));
        const bool up = split && i > count / 2;
        mesh.vertices.push_back({c, up ? 0.0f : s, up ? s : 0.0f});
        mesh.faces.push_back({0, static_cast<std::uint16_t>(1 + i),
                              static_cast<std::uint16_t>(1 + (i + 1) % count)});
    }
    return mesh;
}

// `count` triangles sharing one edge, their third corners round a circle: each end of the edge
// meets `count` different normals round a great circle.
inline tools3ds::Mesh Edge(int count = 65533) {
    tools3ds::Mesh mesh;
    mesh.name = "edge";
    mesh.vertices = {{0, 0, -1}, {0, 0, 1}};
    for (int i = 0; i < count; ++i) {
        const double a = 2 * std::acos(-1.0) * i / count;
        mesh.vertices.push_back(
            {static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a)), 0});
        mesh.faces.push_back({0, 1, static_cast<std::uint16_t>(2 + i)});
    }
    return mesh;
}

} // namespace crafted
