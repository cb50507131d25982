#include <gtest/gtest.h>

#include "base/byte_cursor.h"
#include "engine/model3ds.h"
#include "tests/support/engine/model_helpers.h"

namespace {

using namespace engine;
using kxtest::Bytes;
using kxtest::Cat;
using kxtest::Load;
using kxtest::Quad;
using kxtest::U16s;
using tools3ds::Chunk;

class Loader : public kxtest::EngineTest {};

void ExpectColour(const TMiniPolygon& t, float r, float g, float b) {
    EXPECT_FLOAT_EQ(t.Red, r);
    EXPECT_FLOAT_EQ(t.Green, g);
    EXPECT_FLOAT_EQ(t.Blue, b);
    EXPECT_FLOAT_EQ(t.Alpha, 1.0f);
}

Bytes Name(const std::string& s) {
    Bytes out(s.begin(), s.end());
    out.push_back(0);
    return out;
}

TEST_F(Loader, ReadsMeshesWithTheirMaterialColours) {
    Load(kxtest::QuadModel());
    ASSERT_EQ(ObjectCount(), 1);
    const VE_TObject& o = state.Objects[0];
    EXPECT_EQ(o.Name, "board");
    ASSERT_EQ(o.VertexCount(), 4);
    EXPECT_FLOAT_EQ(o.Vertices[2].x, 1.0f);
    EXPECT_FLOAT_EQ(o.Vertices[2].y, 1.0f);
    ASSERT_EQ(o.MiniPolygonCount(), 2);
    EXPECT_EQ(o.MiniPolygons[1].Indices, (std::array<std::uint16_t, 3>{0, 2, 3}));
    ExpectColour(o.MiniPolygons[0], 1, 0, 0);
    ExpectColour(o.MiniPolygons[1], 0, 0, 1);
    EXPECT_EQ(o.PolygonCount(), 0);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Loader, WithTheFlagOffFacesBecomeThreeCornerPolygons) {
    Load(kxtest::QuadModel(), 0);
    ASSERT_EQ(ObjectCount(), 1);
    const VE_TObject& o = state.Objects[0];
    EXPECT_EQ(o.MiniPolygonCount(), 0);
    ASSERT_EQ(o.PolygonCount(), 2);
    const VE_TPolygon& p = o.Polygons[1];
    EXPECT_EQ(p.CornerCount(), 3);
    EXPECT_EQ(p.Indices, (std::vector<std::uint16_t>{0, 2, 3}));
    for (int c = 0; c < 3; ++c) {
        EXPECT_FLOAT_EQ(p.Red[c], 0.0f);
        EXPECT_FLOAT_EQ(p.Blue[c], 1.0f);
        EXPECT_FLOAT_EQ(p.Fourth[c], 0.0f);
    }
}

TEST_F(Loader, MaterialsMatchByExactNameAndTheLaterOfTwoWins) {
    // "wood" twice: the second colour applies. "Wood" is another name and matches nothing.
    const Bytes file = tools3ds::Write3ds(
        {{"wood", 0.1f, 0.2f, 0.3f}, {"wood", 0.4f, 0.5f, 0.6f}, {"red", 1, 0, 0}},
        {Quad("a", "wood", "Wood")});
    Load(file);
    ASSERT_EQ(ObjectCount(), 1);
    ExpectColour(state.Objects[0].MiniPolygons[0], 0.4f, 0.5f, 0.6f);
    ExpectColour(state.Objects[0].MiniPolygons[1], 1, 1, 1);
}

TEST_F(Loader, AGroupThatMatchesNothingOrListsNothingColoursNothing) {
    tools3ds::Mesh mesh = Quad("a", "red", "none");
    mesh.groups.push_back({"red", {}});
    Load(tools3ds::Write3ds({{"red", 1, 0, 0}}, {mesh}));
    ExpectColour(state.Objects[0].MiniPolygons[0], 1, 0, 0);
    ExpectColour(state.Objects[0].MiniPolygons[1], 1, 1, 1);
}

TEST_F(Loader, ColoursGivenAsBytesAreScaled) {
    tools3ds::Options bytes;
    bytes.colours = tools3ds::ColourForm::Bytes;
    Load(tools3ds::Write3ds({{"c", 1.0f, 128 / 255.0f, 0}}, {Quad("a", "c", "c")}, bytes));
    ExpectColour(state.Objects[0].MiniPolygons[0], 1.0f, static_cast<float>(128 / 255.0), 0.0f);
}

TEST_F(Loader, OtherColourFormsAndStrayColoursChangeNothing) {
    // A diffuse colour before any material, then a material whose colour is in a form not read.
    const Bytes stray = Chunk(0xA020, Chunk(0x0010, Bytes(12, 0x3F)));
    const Bytes material = Chunk(
        0xAFFF, Cat({Chunk(0xA000, Name("m")), Chunk(0xA020, Chunk(0x0013, Bytes(12, 0x3F)))}));
    const Bytes mesh = tools3ds::Write3ds({}, {Quad("a", "m", "m")});
    // Splice the stray chunks in front of the writer's editor content.
    Bytes editor(mesh.begin() + 6 + 10 + 6, mesh.end());
    Load(Chunk(0x4D4D, Chunk(0x3D3D, Cat({stray, material, editor}))));
    ASSERT_EQ(ObjectCount(), 1);
    ExpectColour(state.Objects[0].MiniPolygons[0], 0, 0, 0);
}

TEST_F(Loader, LightsAndCamerasBecomeObjectsWithoutMeshes) {
    tools3ds::Options options;
    options.extraObjects = {{"Lamp", tools3ds::ObjectKind::Light},
                            {"Eye", tools3ds::ObjectKind::Camera}};
    Load(tools3ds::Write3ds({}, {}, options));
    ASSERT_EQ(ObjectCount(), 2);
    EXPECT_EQ(state.Objects[0].Name, "Lamp");
    EXPECT_EQ(state.Objects[1].Name, "Eye");
    for (const auto& o : state.Objects) {
        EXPECT_EQ(o.VertexCount(), 0);
        EXPECT_EQ(o.MiniPolygonCount(), 0);
        EXPECT_EQ(o.PolygonCount(), 0);
    }
}

TEST_F(Loader, ALaterLoadAppendsAfterEarlierObjects) {
    Load(kxtest::QuadModel());
    Load(tools3ds::Write3ds({}, {Quad("first", "", ""), Quad("second", "", "")}));
    ASSERT_EQ(ObjectCount(), 3);
    EXPECT_EQ(state.Objects[ObjectCount() - 1].Name, "second");
    EXPECT_EQ(state.Objects[1].Name, "first");
}

TEST_F(Loader, UnknownChunksAreSkippedByTheirLength) {
    // Texture coordinates between the vertex and face lists, smoothing groups after the faces.
    const Bytes vertices = Chunk(0x4110, Cat({U16s({3}), Bytes(36, 0)}));
    const Bytes mapping = Chunk(0x4140, Cat({U16s({3}), Bytes(24, 0x41)}));
    const Bytes faces = Chunk(0x4120, Cat({U16s({1, 0, 1, 2, 7}), Chunk(0x4150, Bytes(4, 0x40))}));
    const Bytes object =
        Chunk(0x4000, Cat({Name("m"), Chunk(0x4100, Cat({vertices, mapping, faces}))}));
    Load(Chunk(0x4D4D, Cat({Chunk(0x0002, Bytes(4, 0)), Chunk(0x3D3D, object)})));
    ASSERT_EQ(ObjectCount(), 1);
    EXPECT_EQ(state.Objects[0].VertexCount(), 3);
    EXPECT_EQ(state.Objects[0].MiniPolygonCount(), 1);
}

TEST_F(Loader, NotA3dsFileIsReportedAndEmptiesTheStoreOnceTheWalkHasStopped) {
    Load(kxtest::QuadModel());
    ASSERT_EQ(ObjectCount(), 1);
    // An editor chunk on its own: no main chunk in front.
    const Bytes whole = tools3ds::Write3ds({}, {Quad("late", "", "")});
    Load(Bytes(whole.begin() + 6 + 10, whole.end()));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].caption, "VEngine internal error");
    EXPECT_EQ(Boxes()[0].text, "This file isn't a valid 3DS format file: model.3ds");
    // The walk wrote nothing after the report, and the store was emptied when it returned.
    EXPECT_EQ(ObjectCount(), 0);
    EXPECT_TRUE(state.Objects.empty());
}

TEST_F(Loader, AnEmptyBlockIsReportedAndAddsNothing) {
    Load({});
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(ObjectCount(), 0);
    // The name appears with its control bytes by code.
    engine::Load3DSFromMemory({}, "a\x1b]2;b\x7f.3ds", 255);
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text, "This file isn't a valid 3DS format file: a\\x1b]2;b\\x7f.3ds");
}

TEST(ReadZString, StopsAtTheZeroByteTheLimitOrTheEnd) {
    const Bytes bytes = {'a', 'b', 0, 'c'};
    base::ByteCursor cursor(bytes);
    const ZString first = ReadZString(cursor, 0);
    EXPECT_EQ(first.text, "ab");
    EXPECT_EQ(first.consumed, 3);
    const ZString rest = ReadZString(cursor, 0);
    EXPECT_EQ(rest.text, "c");
    EXPECT_EQ(rest.consumed, 1);

    base::ByteCursor limited(bytes);
    const ZString two = ReadZString(limited, 2);
    EXPECT_EQ(two.text, "ab");
    EXPECT_EQ(two.consumed, 2);

    const Bytes longName(400, 'x');
    base::ByteCursor unlimited(longName);
    EXPECT_EQ(ReadZString(unlimited, 0).consumed, 255);
    EXPECT_EQ(unlimited.Position(), 255u);
}

TEST(LoaderStore, FillsTheStoreItIsGivenAndNoOther) {
    EngineInit();
    ObjectStore own;
    const auto model = kxtest::QuadModel();
    Load3DSFromMemory(model, "model.3ds", 255, own);
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].MiniPolygonCount(), 2);
    EXPECT_EQ(ObjectCount(), 0);
}

} // namespace
