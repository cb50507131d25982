// The generated board and piece, loaded through the game's own 3DS loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "engine/geometry.h"
#include "engine/model3ds.h"
#include "engine/store.h"
#include "game/picking.h"
#include "look_files.h"
#include "platform/platform_double.h"
#include "render/board_marks.h"

namespace {

using engine::TVector3;
using engine::VE_TObject;

struct Extents {
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f, minZ = 1e9f, maxZ = -1e9f;
};

Extents Measure(const VE_TObject& o) {
    Extents e;
    for (const TVector3& v : o.Vertices) {
        e.minX = std::min(e.minX, v.x);
        e.maxX = std::max(e.maxX, v.x);
        e.minY = std::min(e.minY, v.y);
        e.maxY = std::max(e.maxY, v.y);
        e.minZ = std::min(e.minZ, v.z);
        e.maxZ = std::max(e.maxZ, v.z);
    }
    return e;
}

TVector3 Cross(TVector3 a, TVector3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

TVector3 Minus(TVector3 a, TVector3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

float Length(TVector3 v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

float Distance(TVector3 a, TVector3 b) {
    return Length(Minus(a, b));
}

class GeneratedModel : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::testing::ResetDouble();
        engine::EngineInit();
    }

    // The model as the game loads it: one mesh, accepted without an engine report.
    const VE_TObject& Load(const std::string& name) {
        const std::vector<std::uint8_t> bytes = kxtest::ReadWholeFile(kxtest::AssetPath(name));
        engine::Load3DSFromMemory(bytes, name, 255);
        EXPECT_TRUE(platform::testing::Double().boxes.empty()) << name << " was refused";
        EXPECT_EQ(engine::ObjectCount(), 1) << name;
        if (engine::state.Objects.empty()) engine::NewObject(0, 0, 0, 0);
        object = static_cast<std::int32_t>(engine::state.Objects.size()) - 1;
        return engine::state.Objects.back();
    }

    // What the display list emits for each corner, in (triangle, corner) order.
    std::vector<TVector3> EmittedNormals() const {
        const engine::NormalIndex index = engine::BuildNormalIndex(object);
        std::vector<TVector3> normals;
        for (std::size_t f = 0; f < engine::state.Objects[object].MiniPolygons.size(); ++f)
            for (int c = 0; c < 3; ++c)
                normals.push_back(engine::SmoothedNormal(index, static_cast<std::int32_t>(f), c));
        return normals;
    }

    std::int32_t object = -1;
};

// Closed and consistently wound: every edge is walked once each way, no triangle is
// degenerate, and the enclosed volume is positive (the faces are wound outwards).
void ExpectSoundSurface(const VE_TObject& o) {
    std::map<std::pair<int, int>, int> edges;
    double volume = 0;
    int degenerate = 0;
    for (const engine::TMiniPolygon& t : o.MiniPolygons) {
        const auto& k = t.Indices;
        ASSERT_LT(std::max({k[0], k[1], k[2]}), o.Vertices.size());
        const TVector3 a = o.Vertices[k[0]], b = o.Vertices[k[1]], c = o.Vertices[k[2]];
        if (k[0] == k[1] || k[1] == k[2] || k[0] == k[2] ||
            Length(Cross(Minus(b, a), Minus(c, a))) < 1e-5f)
            ++degenerate;
        for (int i = 0; i < 3; ++i)
            ++edges[{k[i], k[(i + 1) % 3]}];
        volume += (a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) +
                   a.z * (b.x * c.y - b.y * c.x)) /
                  6.0;
    }
    EXPECT_EQ(degenerate, 0);
    int open = 0, shared = 0;
    for (const auto& [edge, uses] : edges) {
        if (uses > 1) ++shared;
        const auto twin = edges.find({edge.second, edge.first});
        if (twin == edges.end() || twin->second != 1) ++open;
    }
    EXPECT_EQ(open, 0) << "edges without exactly one opposite";
    EXPECT_EQ(shared, 0) << "edges walked twice the same way";
    EXPECT_GT(volume, 0.0) << "faces wound inwards";
}

TEST_F(GeneratedModel, BoardSpansThePictureWithItsFaceAtZeroAndABodyBelow) {
    const VE_TObject& board = Load("tabla.3ds");
    EXPECT_EQ(board.Name, "Board");
    const Extents e = Measure(board);
    EXPECT_FLOAT_EQ(e.minX, -27.5f);
    EXPECT_FLOAT_EQ(e.maxX, 27.5f);
    EXPECT_FLOAT_EQ(e.minY, -27.5f);
    EXPECT_FLOAT_EQ(e.maxY, 27.5f);
    EXPECT_FLOAT_EQ(e.maxZ, 0.0f);
    EXPECT_LT(e.minZ, -3.0f);
    EXPECT_GT(board.MiniPolygonCount(), 1000);
    EXPECT_LE(board.MiniPolygonCount(), 8000);
    ExpectSoundSurface(board);
}

TEST_F(GeneratedModel, BoardHasAHollowUnderEveryCellAndIsFlatBetweenThem) {
    const VE_TObject& board = Load("tabla.3ds");
    for (int i = 1; i <= 6; ++i) {
        for (int j = 1; j <= 6; ++j) {
            const TVector3 centre{9.0f * i - 31.5f, 9.0f * j - 31.5f, 0.0f};
            // The rim is where the face, at z = 0, comes nearest the cell's centre.
            float deepest = 0.0f, rim = 1e9f;
            for (const TVector3& v : board.Vertices) {
                const float r = std::hypot(v.x - centre.x, v.y - centre.y);
                if (r < 4.0f) deepest = std::min(deepest, v.z);
                if (v.z == 0.0f) rim = std::min(rim, r);
            }
            EXPECT_LT(deepest, -0.3f) << "cell " << i << "," << j;
            EXPECT_GT(deepest, -1.0f) << "a shallow dish, not a pit: cell " << i << "," << j;
            EXPECT_GT(rim, 2.0f) << "cell " << i << "," << j;
            EXPECT_LT(rim, 3.6f) << "cell " << i << "," << j;
        }
    }
    // Halfway between cells the face is flat (the underside's centre lies far below).
    constexpr float kBelowTheFace = -2.0f;
    int between = 0;
    for (const TVector3& v : board.Vertices) {
        if (std::abs(std::fmod(v.x + 27.0f, 9.0f)) < 1e-4f && std::abs(v.x) < 25.0f &&
            std::abs(v.y) < 25.0f && std::abs(std::fmod(v.y + 27.0f, 9.0f)) < 1e-4f &&
            v.z > kBelowTheFace) {
            EXPECT_EQ(v.z, 0.0f) << v.x << "," << v.y;
            ++between;
        }
    }
    EXPECT_EQ(between, 25);
}

// The marks round the pieces follow the face the scene expects: flat but for the hollows, then
// the rounded edge, whose facets' corners lie on its arc.
TEST_F(GeneratedModel, BoardFaceIsWhereTheMarksRoundThePiecesLie) {
    int edge = 0;
    for (const TVector3& v : Load("tabla.3ds").Vertices) {
        const float side = std::max(std::abs(v.x), std::abs(v.y));
        const bool hollow = side < 26.0f && std::hypot(std::remainder(v.x + 4.5f, 9.0f),
                                                       std::remainder(v.y + 4.5f, 9.0f)) < 2.6f;
        if (hollow || v.z < -render::kBoardEdgeRadius - 1e-4f) continue;
        EXPECT_NEAR(v.z, render::BoardFaceHeight(v.x, v.y), 0.01f) << v.x << "," << v.y;
        edge += side > render::kBoardFieldHalf;
    }
    EXPECT_GT(edge, 4 * 36 * 3) << "the rounded edge's rows of corners";
}

TEST_F(GeneratedModel, PieceIsAnUprightTurnedPieceThatFitsItsCell) {
    const VE_TObject& piece = Load("babu.3ds");
    const Extents e = Measure(piece);
    EXPECT_FLOAT_EQ(e.minZ, 0.0f);
    EXPECT_GE(e.maxZ, 4.0f);
    EXPECT_LE(e.maxZ, 6.0f);
    EXPECT_LE(piece.MiniPolygonCount(), 3000);
    // Rings of corners by height and radius, the number of corners in each.
    std::map<std::pair<long, long>, int> rings;
    float widest = 0.0f;
    for (const TVector3& v : piece.Vertices) {
        const float r = std::hypot(v.x, v.y);
        widest = std::max(widest, r);
        if (r > 1e-3f) ++rings[{std::lround(v.z * 1000.0f), std::lround(r * 1000.0f)}];
    }
    EXPECT_LE(widest, 4.0f);
    EXPECT_GT(widest, 2.5f);
    // The game shows a piece at most about 60 pixels in radius (a near cell at 1080 lines):
    // the outline of every ring, the foot's and the narrow ball's alike, may stray from a
    // circle by half a pixel there, and no more.
    const double pixelsPerUnit = 60.0 / widest;
    int footSides = 0;
    for (const auto& [ring, sides] : rings) {
        const double radius = static_cast<double>(ring.second) / 1000.0;
        EXPECT_LE(radius * pixelsPerUnit * (1.0 - std::cos(std::numbers::pi / sides)), 0.55)
            << sides << " sides are too few to look round at radius " << radius;
        if (std::abs(radius - widest) < 1e-3) footSides = sides;
    }
    EXPECT_GE(footSides, 24);
    // Symmetric about the axis: the top sits on it.
    bool apex = false;
    for (const TVector3& v : piece.Vertices)
        if (v.z == e.maxZ && v.x == 0.0f && v.y == 0.0f) apex = true;
    EXPECT_TRUE(apex);
    ExpectSoundSurface(piece);
}

TEST_F(GeneratedModel, PieceCoversTheHollowItStandsOver) {
    float hollow = 1e9f;
    {
        const VE_TObject& board = Load("tabla.3ds");
        for (const TVector3& v : board.Vertices)
            if (v.z == 0.0f) hollow = std::min(hollow, std::hypot(v.x - 4.5f, v.y - 4.5f));
    }
    engine::EngineInit();
    const VE_TObject& piece = Load("babu.3ds");
    float base = 0.0f;
    for (const TVector3& v : piece.Vertices)
        if (v.z == 0.0f) base = std::max(base, std::hypot(v.x, v.y));
    EXPECT_GT(base, hollow) << "the foot would hang over the hollow's rim";
}

// Picking knows the piece by its outline: a level line of sight from outside to just within
// any corner of the model, drawn at a tenth on cell (1, 1) at (-2.25, -2.25), meets the piece.
TEST_F(GeneratedModel, PickingHoldsEveryCornerOfThePiece) {
    const VE_TObject& piece = Load("babu.3ds");
    const std::array<std::uint8_t, 36> board{1};
    for (const TVector3& v : piece.Vertices) {
        const double r = std::hypot(v.x, v.y), ux = v.x / r, uy = v.y / r, end = (r - 1e-3) / 10;
        if (r < 1e-3) continue;
        const render::SightRay ray{{-2.25 + ux * 5, -2.25 + uy * 5, v.z / 10.0},
                                   {-2.25 + ux * end, -2.25 + uy * end, v.z / 10.0}};
        EXPECT_EQ(game::CellAlong(ray, board).i, 1) << v.x << ", " << v.y << ", " << v.z;
    }
}

// The display list's normals, as the loader's smoothing rule gives them, light the faces
// from outside: the board's face and the piece's top look up, the piece's foot down.
TEST_F(GeneratedModel, EmittedNormalsOfTheBoardFacePointUp) {
    const VE_TObject& board = Load("tabla.3ds");
    const std::vector<TVector3> normals = EmittedNormals();
    int checked = 0;
    for (std::size_t f = 0; f < board.MiniPolygons.size(); ++f) {
        const auto& k = board.MiniPolygons[f].Indices;
        if (board.Vertices[k[0]].z != 0 || board.Vertices[k[1]].z != 0 ||
            board.Vertices[k[2]].z != 0)
            continue;
        for (int c = 0; c < 3; ++c)
            EXPECT_GT(normals[f * 3 + c].z, 0.9f) << "triangle " << f;
        ++checked;
    }
    EXPECT_GT(checked, 500);
}

// The display lists of the shipped models carry exactly the normals a scan of every triangle
// per corner gives.
TEST_F(GeneratedModel, EmittedNormalsAreBitForBitThoseOfTheFullScan) {
    for (const char* name : {"tabla.3ds", "babu.3ds"}) {
        const VE_TObject& model = Load(name);
        const std::vector<TVector3> normals = EmittedNormals();
        for (std::size_t f = 0; f < model.MiniPolygons.size(); ++f)
            for (int c = 0; c < 3; ++c) {
                const TVector3 scan =
                    engine::SmoothedNormal(object, static_cast<std::int32_t>(f), c);
                const TVector3& fast = normals[f * 3 + static_cast<std::size_t>(c)];
                ASSERT_EQ(std::memcmp(&fast, &scan, sizeof scan), 0)
                    << name << " triangle " << f << " corner " << c;
            }
        engine::EngineInit();
    }
}

TEST_F(GeneratedModel, EmittedNormalsOfThePieceFaceOutwards) {
    const VE_TObject& piece = Load("babu.3ds");
    const std::vector<TVector3> normals = EmittedNormals();
    const float top = Measure(piece).maxZ;
    for (std::size_t f = 0; f < piece.MiniPolygons.size(); ++f) {
        const auto& k = piece.MiniPolygons[f].Indices;
        const float lowest =
            std::min({piece.Vertices[k[0]].z, piece.Vertices[k[1]].z, piece.Vertices[k[2]].z});
        const float highest =
            std::max({piece.Vertices[k[0]].z, piece.Vertices[k[1]].z, piece.Vertices[k[2]].z});
        for (int c = 0; c < 3; ++c) {
            if (highest == 0.0f) {
                EXPECT_LT(normals[f * 3 + c].z, -0.9f) << "foot, triangle " << f;
            }
            if (lowest > top - 0.2f) {
                EXPECT_GT(normals[f * 3 + c].z, 0.8f) << "top, triangle " << f;
            }
        }
    }
}

// Round surfaces shade smoothly, seams included, and the turned steps stay crisp: corners
// that meet at one point agree on their normal unless their faces meet at a sharp angle.
TEST_F(GeneratedModel, PieceIsSmoothOnItsCurvesAndCrispAtItsSteps) {
    const VE_TObject& piece = Load("babu.3ds");
    const std::vector<TVector3> normals = EmittedNormals();
    std::map<std::tuple<long, long, long>, std::vector<std::size_t>> byPosition;
    for (std::size_t f = 0; f < piece.MiniPolygons.size(); ++f)
        for (int c = 0; c < 3; ++c) {
            const TVector3& v = piece.Vertices[piece.MiniPolygons[f].Indices[c]];
            byPosition[{std::lround(v.x * 1e4f), std::lround(v.y * 1e4f), std::lround(v.z * 1e4f)}]
                .push_back(f * 3 + c);
        }
    int smooth = 0, crisp = 0;
    for (const auto& [position, corners] : byPosition) {
        float spread = 0.0f;
        for (std::size_t a : corners)
            for (std::size_t b : corners)
                spread = std::max(spread, Distance(normals[a], normals[b]));
        if (spread < 0.05f) ++smooth;
        if (spread > 0.8f) ++crisp;
    }
    // Nearly every point is smooth; only the rings at the steps are crisp.
    EXPECT_GT(smooth, static_cast<int>(byPosition.size() * 8 / 10));
    EXPECT_GT(crisp, 0);
    EXPECT_LT(crisp, static_cast<int>(byPosition.size() / 5));
}

} // namespace
