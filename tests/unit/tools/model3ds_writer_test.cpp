#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "base/byte_cursor.h"
#include "tests/support/engine/model_helpers.h"

namespace {

using namespace engine;
using kxtest::Bytes;

bool IsContainer(std::uint16_t id) {
    return id == 0x4D4D || id == 0x3D3D || id == 0xAFFF || id == 0x4100 || id == 0xA020;
}

// Walks the chunk tree, checking that each container's children fill it exactly; returns the
// ids in the order met, parents before children.
void Tree(std::span<const std::uint8_t> bytes, std::vector<std::uint16_t>& ids) {
    base::ByteCursor cursor(bytes);
    while (!cursor.AtEnd()) {
        const std::size_t start = cursor.Position();
        const auto id = cursor.U16();
        const auto length = cursor.U32();
        ASSERT_TRUE(id && length);
        ASSERT_GE(*length, 6u);
        ASSERT_LE(*length, bytes.size() - start);
        ids.push_back(*id);
        std::size_t skip = 0;
        if (*id == 0x4000) { // name, then the object's chunks
            while (bytes[start + 6 + skip] != 0)
                ++skip;
            ++skip;
        }
        if (IsContainer(*id) || *id == 0x4000)
            Tree(bytes.subspan(start + 6 + skip, *length - 6 - skip), ids);
        cursor.Seek(start + *length);
    }
}

TEST(Writer, NestsChunksTheWayTheLoaderWalksThem) {
    tools3ds::Options options;
    options.extraObjects = {{"cam", tools3ds::ObjectKind::Camera}};
    const Bytes file =
        tools3ds::Write3ds({{"m", 0.25f, 0.5f, 1}}, {kxtest::Quad("q", "m", "m")}, options);
    std::vector<std::uint16_t> ids;
    Tree(file, ids);
    const std::vector<std::uint16_t> expected{0x4D4D, 0x0002, 0x3D3D, 0xAFFF, 0xA000,
                                              0xA020, 0x0010, 0x4000, 0x4100, 0x4110,
                                              0x4120, 0x4000, 0x4700};
    EXPECT_EQ(ids, expected);
}

class RoundTrip : public kxtest::EngineTest {};

TEST_F(RoundTrip, WhatIsWrittenIsWhatLoads) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-50, 50);
    tools3ds::Mesh mesh;
    mesh.name = "Mesh Name";
    for (int i = 0; i < 300; ++i)
        mesh.vertices.push_back({coordinate(random), coordinate(random), coordinate(random)});
    for (int i = 0; i < 500; ++i)
        mesh.faces.push_back({static_cast<std::uint16_t>(random() % 300),
                              static_cast<std::uint16_t>(random() % 300),
                              static_cast<std::uint16_t>(random() % 300)});
    mesh.groups = {{"a", {}}, {"b", {}}};
    for (std::uint16_t f = 0; f < 500; ++f)
        mesh.groups[f % 3 == 0 ? 0 : 1].faces.push_back(f);

    for (auto form : {tools3ds::ColourForm::Floats, tools3ds::ColourForm::Bytes}) {
        EngineInit();
        tools3ds::Options options;
        options.colours = form;
        kxtest::Load(
            tools3ds::Write3ds({{"a", 0.2f, 0.4f, 0.6f}, {"b", 1, 1, 0}}, {mesh}, options));
        ASSERT_EQ(ObjectCount(), 1);
        const VE_TObject& o = state.Objects[0];
        EXPECT_EQ(o.Name, mesh.name);
        ASSERT_EQ(o.VertexCount(), 300);
        for (int i = 0; i < 300; ++i) {
            EXPECT_EQ(o.Vertices[i].x, mesh.vertices[i].x);
            EXPECT_EQ(o.Vertices[i].z, mesh.vertices[i].z);
        }
        ASSERT_EQ(o.MiniPolygonCount(), 500);
        const float tolerance = form == tools3ds::ColourForm::Bytes ? 0.5f / 255 : 0.0f;
        for (int f = 0; f < 500; ++f) {
            EXPECT_EQ(o.MiniPolygons[f].Indices, mesh.faces[f]);
            EXPECT_NEAR(o.MiniPolygons[f].Red, f % 3 == 0 ? 0.2f : 1.0f, tolerance);
            EXPECT_NEAR(o.MiniPolygons[f].Blue, f % 3 == 0 ? 0.6f : 0.0f, tolerance);
        }
    }
}

TEST(Writer, RefusesMoreElementsThanTheFormatCounts) {
    tools3ds::Mesh mesh;
    mesh.vertices.resize(70000);
    EXPECT_THROW(tools3ds::Write3ds({}, {mesh}), std::length_error);
}

} // namespace
