// Models that lie about their lengths, counts, names and indices. The suite also runs these
// with the loader built under AddressSanitizer.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/engine/model_helpers.h"

namespace {

using namespace engine;
using kxtest::Bytes;
using kxtest::Cat;
using kxtest::ExpectStoreConsistent;
using kxtest::Load;
using kxtest::U16s;
using tools3ds::Chunk;

class Hostile : public kxtest::EngineTest {};

// A header whose length field says `length`, whatever follows.
Bytes Header(std::uint16_t id, std::uint32_t length) {
    Bytes out = U16s({id});
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    return out;
}

Bytes Object(const Bytes& meshContent) {
    return Chunk(0x4000, Cat({Bytes{'o', 0}, Chunk(0x4100, meshContent)}));
}

Bytes File(const Bytes& editorContent) {
    return Chunk(0x4D4D, Chunk(0x3D3D, editorContent));
}

Bytes Vertices(std::uint16_t count, std::size_t actual) {
    return Chunk(0x4110, Cat({U16s({count}), Bytes(actual * 12, 0)}));
}

// A model with materials, meshes, a light and unknown chunks: a little of everything.
Bytes RichModel() {
    tools3ds::Mesh pyramid;
    pyramid.name = "pyramid";
    pyramid.vertices = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {1, 1, 3}};
    pyramid.faces = {{0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}, {0, 2, 1}, {0, 3, 2}};
    pyramid.groups = {{"gold", {0, 1, 2, 3}}, {"grey", {4, 5}}};
    tools3ds::Options options;
    options.extraObjects = {{"sun", tools3ds::ObjectKind::Light}};
    return tools3ds::Write3ds({{"gold", 1, 0.8f, 0}, {"grey", 0.5f, 0.5f, 0.5f}},
                              {kxtest::Quad("quad", "gold", "grey"), pyramid}, options);
}

TEST_F(Hostile, ChunkLengthsBelowAHeaderOrPastTheBlockEndTheWalk) {
    for (std::uint32_t length : {0u, 1u, 5u, 0xFFFFFFFFu, 0x80000000u, 1000u}) {
        SCOPED_TRACE(length);
        EngineInit();
        const Bytes valid = Object(Vertices(3, 3));
        Load(Chunk(0x4D4D, Cat({Header(0x1234, length), Bytes(8, 0), valid})));
        EXPECT_EQ(ObjectCount(), 0);
        // The same at the very start of the block.
        Load(Cat({Header(0x4D4D, length), valid}));
        ExpectStoreConsistent();
    }
}

// Main, editor, named object and triangle mesh at offsets 0, 6, 12 and 20, the mesh holding
// three vertices and one face.
Bytes Nested() {
    return File(Object(Cat({Vertices(3, 3), Chunk(0x4120, U16s({1, 0, 1, 2, 0}))})));
}

void SetLength(Bytes& file, std::size_t at, std::uint32_t length) {
    for (int i = 0; i < 4; ++i)
        file[at + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
}

TEST_F(Hostile, ChunksTheWalkStepsIntoMayHaveAnyLength) {
    const Bytes valid = Nested();
    for (std::size_t at : {0u, 6u, 12u, 20u}) {
        const std::uint32_t real = static_cast<std::uint32_t>(valid.size() - at);
        for (std::uint32_t length : {real + 5, real - 3, 6u, 1u, 0u, 0xFFFFFFFFu}) {
            SCOPED_TRACE(testing::Message() << "chunk at " << at << ", length " << length);
            EngineInit();
            Bytes file = valid;
            SetLength(file, at, length);
            Load(file);
            ASSERT_EQ(ObjectCount(), 1);
            EXPECT_EQ(state.Objects[0].VertexCount(), 3);
            EXPECT_EQ(state.Objects[0].MiniPolygonCount(), 1);
            EXPECT_TRUE(Boxes().empty());
        }
    }
}

TEST_F(Hostile, ALeafChunkMustEndWithinTheBlockAndHoldItsHeader) {
    // The vertex list is the last chunk: a length up to the block's end is read, one more
    // byte ends the walk before it.
    const Bytes valid = File(Object(Vertices(3, 3)));
    const std::size_t at = valid.size() - (6 + 2 + 36);
    for (const auto& [length, vertices] : {std::pair{6u + 2 + 36, 3}, {6u + 2 + 37, 0}}) {
        EngineInit();
        Bytes file = valid;
        SetLength(file, at, length);
        Load(file);
        ASSERT_EQ(ObjectCount(), 1);
        EXPECT_EQ(state.Objects[0].VertexCount(), vertices) << "length " << length;
    }
    // An unknown chunk of just its header is skipped; one shorter than a header ends the walk.
    for (const auto& [length, objects] : {std::pair{6u, 1}, {5u, 0}}) {
        EngineInit();
        Load(Chunk(0x4D4D, Cat({Header(0x1234, length), Chunk(0x3D3D, Object(Vertices(1, 1)))})));
        EXPECT_EQ(ObjectCount(), objects) << "length " << length;
    }
}

TEST_F(Hostile, CountsAreCutToWhatTheBlockHolds) {
    // 1000 vertices claimed, 3 present; 500 faces claimed, 1 present.
    Load(File(Object(Cat({Vertices(1000, 3)}))));
    ASSERT_EQ(ObjectCount(), 1);
    EXPECT_EQ(state.Objects[0].VertexCount(), 3);

    EngineInit();
    Load(File(Object(Cat({Vertices(3, 3), Chunk(0x4120, U16s({500, 0, 1, 2, 0}))}))));
    ASSERT_EQ(ObjectCount(), 1);
    EXPECT_EQ(state.Objects[0].MiniPolygonCount(), 1);

    // A material group claiming 9000 face numbers at the block's end.
    EngineInit();
    const Bytes group = Chunk(0x4130, Cat({Bytes{'m', 0}, U16s({9000, 0})}));
    Load(File(Object(Cat({Vertices(3, 3), Chunk(0x4120, Cat({U16s({1, 0, 1, 2, 0}), group}))}))));
    ExpectStoreConsistent();
    EXPECT_EQ(state.Objects[0].MiniPolygonCount(), 1);
}

TEST_F(Hostile, NamesWithoutAZeroByteAreCutAtTheBlockEnd) {
    Bytes editor = Header(0x4000, 6 + 300);
    editor.insert(editor.end(), 300, 'n');
    Load(File(editor));
    ASSERT_EQ(ObjectCount(), 1);
    EXPECT_EQ(state.Objects[0].Name, std::string(255, 'n'));

    EngineInit();
    Bytes cut = Header(0x4D4D, 6 + 6 + 40);
    Bytes name = Header(0xA000, 6 + 40);
    cut.insert(cut.end(), name.begin(), name.end());
    cut.insert(cut.end(), 40, 'm');
    Load(cut);
    ExpectStoreConsistent();
}

TEST_F(Hostile, FacesNamingMissingVerticesAreSkippedAndGroupsStillFindTheirFaces) {
    // Face 1 names vertex 7 of a 3-vertex object; face 2 is fine. The group colours file
    // faces 2 and 9: face 2 is the object's second triangle, face 9 does not exist.
    const Bytes group = Chunk(0x4130, Cat({Bytes{'r', 0}, U16s({2, 2, 9})}));
    const Bytes faces = Chunk(0x4120, Cat({U16s({3, 0, 1, 2, 0, 0, 7, 2, 0, 2, 1, 0, 0}), group}));
    const Bytes material =
        Chunk(0xAFFF, Cat({Chunk(0xA000, {'r', 0}), Chunk(0xA020, Chunk(0x0011, {255, 0, 0}))}));
    Load(File(Cat({material, Object(Cat({Vertices(3, 3), faces}))})));
    ASSERT_EQ(ObjectCount(), 1);
    ExpectStoreConsistent();
    const VE_TObject& o = state.Objects[0];
    ASSERT_EQ(o.MiniPolygonCount(), 2);
    EXPECT_EQ(o.MiniPolygons[1].Indices, (std::array<std::uint16_t, 3>{2, 1, 0}));
    EXPECT_FLOAT_EQ(o.MiniPolygons[0].Green, 1.0f);
    EXPECT_FLOAT_EQ(o.MiniPolygons[1].Green, 0.0f);
    EXPECT_FLOAT_EQ(o.MiniPolygons[1].Red, 1.0f);
}

// A model made of material names costs no more than 4096 of them: later ones are passed over,
// and their colours land on no material that was kept.
TEST_F(Hostile, MaterialsBeyondTheCapArePassedOver) {
    const auto material = [](const std::string& name, std::uint8_t red) {
        Bytes text(name.begin(), name.end());
        text.push_back(0);
        return Chunk(0xAFFF, Cat({Chunk(0xA000, text), Chunk(0xA020, Chunk(0x0011, {red, 0, 0}))}));
    };
    Bytes materials;
    for (int k = 0; k < 4095; ++k)
        materials = Cat({materials, material(std::string("m").append(std::to_string(k)), 0)});
    materials = Cat({materials, material("kept", 255), material("late", 0), material("kept", 0)});
    const Bytes group = Chunk(0x4130, Cat({Bytes{'k', 'e', 'p', 't', 0}, U16s({1, 0})}));
    const Bytes late = Chunk(0x4130, Cat({Bytes{'l', 'a', 't', 'e', 0}, U16s({1, 1})}));
    const Bytes faces = Chunk(0x4120, Cat({U16s({2, 0, 1, 2, 0, 0, 2, 1, 0}), group, late}));
    Load(File(Cat({materials, Object(Cat({Vertices(3, 3), faces}))})));
    ASSERT_EQ(ObjectCount(), 1);
    ASSERT_EQ(state.Objects[0].MiniPolygonCount(), 2);
    EXPECT_FLOAT_EQ(state.Objects[0].MiniPolygons[0].Red, 1.0f);
    EXPECT_FLOAT_EQ(state.Objects[0].MiniPolygons[1].Green, 1.0f);
}

TEST_F(Hostile, MeshDataBeforeAnyObjectIsIgnored) {
    const Bytes faces =
        Chunk(0x4120, Cat({U16s({1, 0, 1, 2, 0}), Chunk(0x4130, {'x', 0, 1, 0, 0, 0})}));
    Load(File(Cat({Chunk(0x4100, Cat({Vertices(3, 3), faces}))})));
    EXPECT_EQ(ObjectCount(), 0);
}

TEST_F(Hostile, ASecondVertexListAppendsUpToTheStoreLimit) {
    Load(File(Object(Cat({Vertices(40000, 40000), Vertices(40000, 40000),
                          Chunk(0x4120, U16s({1, 65534, 65535, 0, 0}))}))));
    ASSERT_EQ(ObjectCount(), 1);
    EXPECT_EQ(state.Objects[0].VertexCount(), kMaxElements);
    // Vertex 65535 does not exist: the face is skipped.
    EXPECT_EQ(state.Objects[0].MiniPolygonCount(), 0);
    ExpectStoreConsistent();
}

TEST_F(Hostile, EveryPrefixOfAValidFileLoadsSafely) {
    const Bytes full = RichModel();
    Load(full);
    const std::uint16_t whole = ObjectCount();
    ASSERT_EQ(whole, 3);
    for (std::size_t n = 0; n < full.size(); ++n) {
        SCOPED_TRACE(n);
        EngineInit();
        Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        Load(prefix);
        // The main chunk now runs past the block; the meshes before the cut still load.
        ExpectStoreConsistent();
        EXPECT_LE(ObjectCount(), whole);
        EngineInit();
        // With the outer chunks shortened to fit, the walk gets as far as the data allows.
        if (n >= 22) {
            for (std::size_t at : {std::size_t{2}, std::size_t{18}}) {
                const auto length = static_cast<std::uint32_t>(n - (at - 2));
                for (int i = 0; i < 4; ++i)
                    prefix[at + i] = static_cast<std::uint8_t>(length >> (8 * i));
            }
            Load(prefix);
            ExpectStoreConsistent();
            EXPECT_LE(ObjectCount(), whole);
        }
    }
}

TEST_F(Hostile, RandomlyDamagedFilesLoadSafely) {
    const Bytes full = RichModel();
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        Bytes damaged = full;
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int f = 0; f < flips; ++f)
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        EngineInit();
        Load(damaged, static_cast<std::uint8_t>(round % 2 ? 255 : 0));
        ExpectStoreConsistent();
        if (HasFatalFailure()) {
            ADD_FAILURE() << "round " << round;
            return;
        }
    }
}

} // namespace
