// Models for the loader, geometry and display-list tests, built with the 3DS writer or
// straight into the store.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "engine/model3ds.h"
#include "engine/store.h"
#include "platform/platform_double.h"
#include "tools/model3ds/model3ds_writer.h"

namespace kxtest {

using Bytes = std::vector<std::uint8_t>;

// The parts one after the other.
inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Little-endian 16-bit values.
inline Bytes U16s(std::initializer_list<std::uint16_t> values) {
    Bytes out;
    for (auto v : values) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    return out;
}

// A unit square in the z = 0 plane as two triangles, the first coloured by `first`, the
// second by `second`.
inline tools3ds::Mesh Quad(const std::string& name, const std::string& first,
                           const std::string& second) {
    tools3ds::Mesh mesh;
    mesh.name = name;
    mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    mesh.faces = {{0, 1, 2}, {0, 2, 3}};
    mesh.groups = {{first, {0}}, {second, {1}}};
    return mesh;
}

inline Bytes QuadModel() {
    return tools3ds::Write3ds({{"red", 1, 0, 0}, {"blue", 0, 0, 1}},
                              {Quad("board", "red", "blue")});
}

inline void Load(const Bytes& file, std::uint8_t mini = 255) {
    engine::Load3DSFromMemory(file, "model.3ds", mini);
}

inline tools3ds::Mesh Triangle(const std::string& name, std::vector<engine::TVector3> corners) {
    return {name, std::move(corners), {{0, 1, 2}}, {}};
}

// Stand-ins for the game's models: the board file holds two meshes, of which the last is
// drawn; the piece file one.
inline Bytes BoardModel() {
    return tools3ds::Write3ds(
        {}, {Triangle("legs", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
             Triangle("board", {{-27.5f, 27.5f, 1}, {0, 0, 1}, {27.5f, -27.5f, 1}})});
}
inline Bytes PieceModel() {
    return tools3ds::Write3ds({}, {Triangle("piece", {{10, -20, 0}, {0, 0, 5}, {-20, 10, 0}})});
}

// A new object of the store holding these vertices and triangles; its index.
inline std::int32_t MakeObject(const std::vector<engine::TVector3>& vertices,
                               const std::vector<std::array<std::uint16_t, 3>>& triangles) {
    const std::int32_t o = engine::NewObject(0, 0, 0, 0);
    for (const engine::TVector3& v : vertices)
        engine::state.Objects[o].Vertices[engine::AddVertex(o)] = v;
    for (const auto& t : triangles)
        engine::state.Objects[o].MiniPolygons[engine::AddMiniPolygon(o)].Indices = t;
    return o;
}

inline std::int32_t MakeObject(const tools3ds::Mesh& mesh) {
    return MakeObject(mesh.vertices, mesh.faces);
}

// Two triangles sharing vertex 0 and the edge to vertex 1 (along x), the second folded up by
// `degrees` about that edge.
inline std::int32_t Fold(double degrees) {
    const double a = degrees * std::acos(-1.0) / 180.0;
    const auto c = static_cast<float>(std::cos(a)), s = static_cast<float>(std::sin(a));
    return MakeObject({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -c, s}}, {{0, 1, 2}, {0, 3, 1}});
}

inline bool SameBits(const engine::TVector3& a, const engine::TVector3& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Stores start empty and message boxes unrecorded.
class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::testing::ResetDouble();
        engine::EngineInit();
    }
    const std::vector<platform::testing::Box>& Boxes() {
        return platform::testing::Double().boxes;
    }
};

// Whatever a file held, the store keeps its own rules: counts match arrays and every
// triangle names vertices its object has.
inline void ExpectStoreConsistent() {
    ASSERT_EQ(engine::ObjectCount(), engine::state.Objects.size());
    for (const engine::VE_TObject& o : engine::state.Objects) {
        ASSERT_EQ(o.VertexCount(), o.Vertices.size());
        ASSERT_EQ(o.MiniPolygonCount(), o.MiniPolygons.size());
        ASSERT_EQ(o.PolygonCount(), o.Polygons.size());
        for (const auto& t : o.MiniPolygons)
            for (auto k : t.Indices)
                ASSERT_LT(k, o.VertexCount());
        for (const auto& p : o.Polygons) {
            ASSERT_EQ(p.Indices.size(), 3u);
            for (auto k : p.Indices)
                ASSERT_LT(k, o.VertexCount());
        }
    }
}

} // namespace kxtest
