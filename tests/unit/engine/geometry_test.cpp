#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "engine/geometry.h"
#include "tests/support/engine/crafted_meshes.h"
#include "tests/support/engine/model_helpers.h"

namespace {

using namespace engine;
using kxtest::Fold;
using kxtest::MakeObject;
using kxtest::SameBits;

void ExpectVector(const TVector3& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-6f);
    EXPECT_NEAR(v.y, y, 1e-6f);
    EXPECT_NEAR(v.z, z, 1e-6f);
}

TEST(Vectors, SubCrossNormalizeAndDistance) {
    TVector3 out;
    VectorSub({3, 5, 7}, {1, 1, 1}, out);
    ExpectVector(out, 2, 4, 6);
    VectorCross({1, 0, 0}, {0, 1, 0}, out);
    ExpectVector(out, 0, 0, 1);
    VectorNormalize({3, 0, 4}, out);
    EXPECT_EQ(out.x, 0.6f);
    EXPECT_EQ(out.y, 0.0f);
    EXPECT_EQ(out.z, 0.8f);
    EXPECT_EQ(PointDistance(0, 0, 0, 1, 2, 2), 3.0f);

    // Inputs are read before the output is written.
    TVector3 v{1, 2, 3};
    VectorCross(v, TVector3{0, 0, 1}, v);
    ExpectVector(v, 2, -1, 0);
    VectorSub(v, v, v);
    ExpectVector(v, 0, 0, 0);
}

TEST(Vectors, NormalizingNothingOrInfinityGivesZeroNotNaN) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const TVector3& v : {TVector3{0, 0, 0}, TVector3{inf, 0, 0}, TVector3{nan, 1, 1},
                              TVector3{3e38f, 3e38f, 3e38f}}) {
        TVector3 out{9, 9, 9};
        VectorNormalize(v, out);
        ExpectVector(out, 0, 0, 0);
    }
    // A tiny but real vector still has a direction.
    TVector3 out;
    VectorNormalize({1e-30f, 0, 0}, out);
    ExpectVector(out, 1, 0, 0);
}

TEST(Vectors, TheCapTestAgreesWithTheRoundedDistanceAtItsEdge) {
    // Unit vectors 60 degrees from the top are 1 away from it; tilt them a few float steps
    // either way so that the rounding of the distance decides.
    std::mt19937 random(3);
    std::uniform_real_distribution<float> turn(0, 6.2831853f);
    const TVector3 top{0, 0, 1};
    int inside = 0;
    for (int i = 0; i < 200000; ++i) {
        const float tilt =
            1.0471976f + static_cast<float>(static_cast<int>(random() % 41) - 20) * 3e-8f;
        const float b = turn(random);
        const TVector3 v{std::sin(tilt) * std::cos(b), std::sin(tilt) * std::sin(b),
                         std::cos(tilt)};
        const bool rounded = PointDistance(top.x, top.y, top.z, v.x, v.y, v.z) <= 1.0f;
        ASSERT_EQ(WithinCap(top, v), rounded) << v.x << " " << v.y << " " << v.z;
        inside += rounded;
    }
    EXPECT_GT(inside, 1000);
    EXPECT_LT(inside, 199000);
}

class Normals : public kxtest::EngineTest {};

TEST_F(Normals, ASingleTriangleGivesItsFaceNormalTurnedForTheScene) {
    const auto flat = MakeObject({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    const auto wall = MakeObject({{0, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{0, 1, 2}});
    for (int c = 0; c < 3; ++c) {
        ExpectVector(SmoothedNormal(flat, 0, c), 0, 0, 1);
        ExpectVector(SmoothedNormal(wall, 0, c), -1, 0, 0);
    }
}

TEST_F(Normals, NeighboursNinetyDegreesApartStayApart) {
    const auto o = Fold(90);
    const auto alone0 = MakeObject({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    const auto alone1 = MakeObject({{0, 0, 0}, {0, 0, 1}, {1, 0, 0}}, {{0, 1, 2}});
    EXPECT_TRUE(SameBits(SmoothedNormal(o, 0, 0), SmoothedNormal(alone0, 0, 0)));
    ExpectVector(SmoothedNormal(o, 1, 0), SmoothedNormal(alone1, 0, 0).x,
                 SmoothedNormal(alone1, 0, 0).y, SmoothedNormal(alone1, 0, 0).z);
}

TEST_F(Normals, NeighboursThirtyDegreesApartAverageWithoutRenormalising) {
    const auto o = Fold(30);
    const TVector3 n = SmoothedNormal(o, 0, 0);
    const double length = std::sqrt(double{n.x} * n.x + double{n.y} * n.y + double{n.z} * n.z);
    EXPECT_NEAR(length, std::cos(15.0 * std::acos(-1.0) / 180.0), 1e-6);
    // Both corners at the shared vertex agree; the unshared corner keeps its own face normal.
    EXPECT_TRUE(SameBits(n, SmoothedNormal(o, 1, 0)));
    ExpectVector(SmoothedNormal(o, 0, 2), 0, 0, 1);
}

TEST_F(Normals, DegenerateTrianglesAddNothingAndGetUpright) {
    // Triangle 1 is a sliver of collinear points, triangle 2 names vertex 0 twice, and
    // triangle 3 has a corner at infinity.
    const float inf = std::numeric_limits<float>::infinity();
    const auto o = MakeObject({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {2, 0, 0}, {inf, 0, 0}},
                              {{0, 1, 2}, {0, 1, 3}, {0, 0, 2}, {0, 4, 2}});
    const auto alone = MakeObject({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    EXPECT_TRUE(SameBits(SmoothedNormal(o, 0, 0), SmoothedNormal(alone, 0, 0)));
    for (int f = 1; f < 4; ++f)
        for (int c = 0; c < 3; ++c) {
            const TVector3 n = SmoothedNormal(o, f, c);
            ExpectVector(n, 0, 0, 1);
        }
    // Indices outside the store give upright too, and nothing is read.
    ExpectVector(SmoothedNormal(o, 99, 0), 0, 0, 1);
    ExpectVector(SmoothedNormal(o, 0, 3), 0, 0, 1);
    ExpectVector(SmoothedNormal(77, 0, 0), 0, 0, 1);
}

// A bumpy grid with shared vertices, a triangle using one vertex twice and a sliver.
std::int32_t BumpyGrid(int side, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> height(-0.6f, 0.6f);
    std::vector<TVector3> vertices;
    for (int y = 0; y <= side; ++y)
        for (int x = 0; x <= side; ++x)
            vertices.push_back({static_cast<float>(x), static_cast<float>(y), height(random)});
    std::vector<std::array<std::uint16_t, 3>> triangles;
    auto at = [&](int x, int y) { return static_cast<std::uint16_t>(y * (side + 1) + x); };
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            triangles.push_back({at(x, y), at(x + 1, y), at(x + 1, y + 1)});
            triangles.push_back({at(x, y), at(x + 1, y + 1), at(x, y + 1)});
        }
    triangles.push_back({at(1, 1), at(1, 1), at(2, 2)});
    triangles.push_back({at(0, 0), at(1, 0), at(2, 0)});
    return MakeObject(vertices, triangles);
}

// `count` triangles round vertex 0 at height `apex` over a unit circle (crafted::Fan).
std::int32_t Fan(int count, float apex, bool split = false) {
    return MakeObject(crafted::Fan(count, apex, split));
}

TEST_F(Normals, TheIndexedNormalsAreBitForBitThoseOfTheFullScan) {
    kxtest::Load(kxtest::QuadModel());
    // Grids of ordinary vertices, then fans whose centre many triangles share: flat, a shallow
    // cone whose normals lie close together, a cone whose normals just fail to, a steep cone
    // whose normals spread round a circle, and a fan folded in two.
    std::vector<std::int32_t> objects{0,           Fold(30),         Fold(59.9),
                                      Fold(60.1),  BumpyGrid(12, 1), BumpyGrid(7, 2),
                                      Fan(300, 0), Fan(300, 0.05f),  Fan(300, 0.75f),
                                      Fan(301, 3), Fan(200, 0, true)};
    for (std::int32_t o : objects) {
        SCOPED_TRACE(o);
        const NormalIndex index = BuildNormalIndex(o);
        for (std::int32_t f = 0; f < state.Objects[o].MiniPolygonCount(); ++f)
            for (int c = 0; c < 3; ++c)
                ASSERT_TRUE(SameBits(SmoothedNormal(index, f, c), SmoothedNormal(o, f, c)))
                    << "face " << f << " corner " << c;
    }
}

// `count` triangles sharing the edge from (0, 0, -1) to (0, 0, 1), their third corners round a
// unit circle: every normal at the edge's ends differs from every other.
std::int32_t Pages(int count) {
    return MakeObject(crafted::Edge(count));
}

// The mean of the neighbours within the cap, chosen as the full scan chooses them and summed
// in long double.
TVector3 AccurateMean(std::int32_t o, std::int32_t face, int corner) {
    const VE_TObject& object = state.Objects[o];
    TVector3 own;
    if (!FaceNormal(object, object.MiniPolygons[face], own)) return {0, 0, 1};
    const std::uint16_t k = object.MiniPolygons[face].Indices[corner];
    long double sum[3] = {0, 0, 0};
    int n = 0;
    for (const TMiniPolygon& u : object.MiniPolygons)
        for (std::uint16_t index : u.Indices) {
            TVector3 other;
            if (index != k || !FaceNormal(object, u, other) || !WithinCap(own, other)) continue;
            sum[0] += other.x;
            sum[1] += other.y;
            sum[2] += other.z;
            ++n;
        }
    return {static_cast<float>(sum[0] / n), static_cast<float>(-sum[1] / n),
            static_cast<float>(-sum[2] / n)};
}

TEST_F(Normals, AtVerticesOfVeryManyTrianglesTheSameNeighboursAreSummedAccurately) {
    // Pages spread their normals round a great circle, the steep cone round a small one; the
    // shallow cone's all lie within the cap of each other.
    for (std::int32_t o :
         {Pages(kHugeUses + 477), Fan(kHugeUses + 900, 0.75f), Fan(kHugeUses + 30, 0.05f)}) {
        SCOPED_TRACE(o);
        const NormalIndex index = BuildNormalIndex(o);
        ASSERT_FALSE(index.busy.empty());
        for (std::int32_t f = 0; f < state.Objects[o].MiniPolygonCount(); f += 7)
            for (int c = 0; c < 3; ++c) {
                const TVector3 fast = SmoothedNormal(index, f, c);
                const TVector3 exact = AccurateMean(o, f, c);
                // Two float steps near 1; one neighbour too many or too few moves the mean by
                // a thousand times more.
                ASSERT_NEAR(fast.x, exact.x, 2.4e-7) << "face " << f << " corner " << c;
                ASSERT_NEAR(fast.y, exact.y, 2.4e-7) << "face " << f << " corner " << c;
                ASSERT_NEAR(fast.z, exact.z, 2.4e-7) << "face " << f << " corner " << c;
            }
    }
}

TEST_F(Normals, NormalsCrowdedAtEachOthersEdgeGetTheFullScansBits) {
    // The crafted models that cost the most, small enough for the in-order sum: normals
    // crowded at each other's 60-degree edge (once all different, once forty repeated), and
    // vertices shared by some 80 triangles pointing every way.
    std::vector<TVector3> repeated;
    for (int i = 0; i < 12; ++i)
        for (const TVector3& n : crafted::CrowdedNormals(40))
            repeated.push_back(n);
    for (std::int32_t o :
         {MakeObject(crafted::CrowdedFan(kHugeUses - 12)),
          MakeObject(crafted::FanWithNormals(repeated)), MakeObject(crafted::Hubs(12, 1000))}) {
        SCOPED_TRACE(o);
        const NormalIndex index = BuildNormalIndex(o);
        ASSERT_FALSE(index.busy.empty());
        for (std::int32_t f = 0; f < state.Objects[o].MiniPolygonCount(); ++f)
            for (int c = 0; c < 3; ++c)
                ASSERT_TRUE(SameBits(SmoothedNormal(index, f, c), SmoothedNormal(o, f, c)))
                    << "face " << f << " corner " << c;
    }
}

TEST_F(Normals, BeyondTheTreesBudgetTheGridChoosesTheNeighboursByTheirCells) {
    // Normals at the centres of random cells of the grid, poles and the seam of longitude
    // among them: the grid chooses as the full scan does, but for pairs at the very edge.
    std::mt19937 random(11);
    const double pi = std::acos(-1.0);
    std::vector<TVector3> normals;
    for (std::uint32_t i = 0; i < kHugeUses + 300; ++i) {
        const int row = i % 10 == 0 ? static_cast<int>(random() % 2) * (kGridRows - 1)
                                    : static_cast<int>(random() % kGridRows);
        const double polar = (row + 0.5) * pi / kGridRows;
        const double longitude =
            (static_cast<int>(random() % (2 * kGridRows)) + 0.5) * pi / kGridRows - pi;
        normals.push_back({static_cast<float>(std::sin(polar) * std::cos(longitude)),
                           static_cast<float>(std::sin(polar) * std::sin(longitude)),
                           static_cast<float>(std::cos(polar))});
    }
    const auto o = MakeObject(crafted::FanWithNormals(normals));
    const NormalIndex index = BuildNormalIndex(o, 0);
    int checked = 0;
    for (std::int32_t f = 0; f < state.Objects[o].MiniPolygonCount(); ++f) {
        TVector3 own;
        ASSERT_TRUE(FaceNormal(state.Objects[o], state.Objects[o].MiniPolygons[f], own));
        if (std::ranges::any_of(normals, [&](const TVector3& n) {
                return std::abs(crafted::Dot(own, n) - 0.5f) < 1e-3f;
            }))
            continue;
        const TVector3 fast = SmoothedNormal(index, f, 0), exact = AccurateMean(o, f, 0);
        ASSERT_NEAR(fast.x, exact.x, 1e-6) << "face " << f;
        ASSERT_NEAR(fast.y, exact.y, 1e-6) << "face " << f;
        ASSERT_NEAR(fast.z, exact.z, 1e-6) << "face " << f;
        ++checked;
    }
    EXPECT_GT(checked, 400);

    // Crowded normals drive the tree past its budget: each corner still gets the mean of its
    // neighbours within a few degrees of 60, never one thrown elsewhere.
    const auto crowded = MakeObject(crafted::CrowdedFan(4 * kHugeUses));
    const NormalIndex crowdedIndex = BuildNormalIndex(crowded);
    for (std::int32_t f = 0; f < state.Objects[crowded].MiniPolygonCount(); ++f) {
        TVector3 own;
        ASSERT_TRUE(
            FaceNormal(state.Objects[crowded], state.Objects[crowded].MiniPolygons[f], own));
        const TVector3 n = SmoothedNormal(crowdedIndex, f, 0);
        const TVector3 unturned{n.x, -n.y, -n.z};
        ASSERT_LE(crafted::Dot(n, n), 1.0f + 1e-6f) << "face " << f;
        ASSERT_GE(crafted::Dot(own, unturned), std::cos(63 * pi / 180)) << "face " << f;
    }
}

} // namespace
