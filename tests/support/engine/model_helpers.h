// Models for the loader and geometry tests, built with the 3DS writer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
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
    ASSERT_EQ(engine::ObjectCount(), engine::Objects.size());
    for (const engine::VE_TObject& o : engine::Objects) {
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
