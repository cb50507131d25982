#include <gtest/gtest.h>

#include "engine/store.h"
#include "platform/platform_double.h"

namespace {

using namespace engine;
namespace pt = platform::testing;

class Stores : public ::testing::Test {
  protected:
    void SetUp() override {
        pt::ResetDouble();
        EngineInit();
    }
};

TEST_F(Stores, NewObjectStartsEmptyAndCountsFromZero) {
    EXPECT_EQ(NewObject(0, 0, 0, 0), 0);
    EXPECT_EQ(NewObject(0, 0, 0, 0), 1);
    ASSERT_EQ(ObjectCount(), 2);
    const VE_TObject& o = state.Objects[1];
    EXPECT_EQ(o.VertexCount(), 0);
    EXPECT_EQ(o.PolygonCount(), 0);
    EXPECT_EQ(o.MiniPolygonCount(), 0);
    EXPECT_TRUE(o.Name.empty());
    EXPECT_FLOAT_EQ(o.FarDistance, 1000.0f);
}

TEST_F(Stores, NewElementsCarryTheirStartValues) {
    const int o = NewObject(2, 1, 1, 3);
    ASSERT_EQ(o, 0);
    const VE_TObject& obj = state.Objects[0];
    ASSERT_EQ(obj.PolygonCount(), 2);
    ASSERT_EQ(obj.Polygons.size(), 2u);
    for (const VE_TPolygon& p : obj.Polygons) {
        EXPECT_EQ(p.CornerCount(), 3);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(p.Indices[k], 0);
            EXPECT_EQ(p.Red[k], 1.0f);
            EXPECT_EQ(p.Green[k], 1.0f);
            EXPECT_EQ(p.Blue[k], 1.0f);
            EXPECT_EQ(p.Fourth[k], 0.0f);
        }
    }
    const TMiniPolygon& m = obj.MiniPolygons[0];
    EXPECT_EQ(m.Indices, (std::array<std::uint16_t, 3>{0, 0, 0}));
    EXPECT_EQ(m.Red, 1.0f);
    EXPECT_EQ(m.Alpha, 1.0f);
    EXPECT_EQ(obj.Vertices[0].x, 0.0f);
    EXPECT_EQ(AddVertex(o), 1);
    EXPECT_EQ(AddMiniPolygon(o), 1);
    EXPECT_EQ(AddPolygon(o, 4), 2);
    EXPECT_EQ(state.Objects[0].Polygons[2].Red.size(), 4u);
}

TEST_F(Stores, AnObjectIndexThatIsNotThereAddsNothing) {
    EXPECT_EQ(AddVertex(0), -1);
    EXPECT_EQ(AddMiniPolygon(-1), -1);
    EXPECT_EQ(AddPolygon(7, 3), -1);
}

TEST_F(Stores, TheCountLimitStopsAtFullAndReports) {
    const int o = NewObject(0, 0, 65535, 0);
    ASSERT_EQ(o, 0);
    EXPECT_EQ(state.Objects[0].VertexCount(), 65535);
    EXPECT_EQ(AddVertex(o), -1);
    EXPECT_EQ(state.Objects[0].VertexCount(), 65535);
    EXPECT_EQ(state.Objects[0].Vertices.size(), 65535u);
    EXPECT_TRUE(pt::Double().boxes.empty());

    // One more than fits: the report empties every store and the call stops there.
    EXPECT_EQ(NewObject(0, 0, 65536, 0), -1);
    ASSERT_EQ(pt::Double().boxes.size(), 1u);
    EXPECT_EQ(pt::Double().boxes[0].caption, "VEngine internal error");
    EXPECT_EQ(pt::Double().boxes[0].text, "Error while initializing vertices !!");
    EXPECT_EQ(ObjectCount(), 0);
    EXPECT_TRUE(state.Objects.empty());
}

TEST_F(Stores, EachKindReportsItsOwnMessage) {
    EXPECT_EQ(NewObject(0, 65536, 0, 0), -1);
    EXPECT_EQ(NewObject(65536, 0, 0, 1), -1);
    ASSERT_EQ(pt::Double().boxes.size(), 2u);
    EXPECT_EQ(pt::Double().boxes[0].text, "Error while initializing mini polygons !!");
    EXPECT_EQ(pt::Double().boxes[1].text, "Error while initializing polygons !!");
}

TEST_F(Stores, ResetEmptiesBothStoresAndIndicesStartAgain) {
    NewObject(0, 3, 3, 0);
    NewObject(0, 0, 0, 0);
    state.Textures.push_back(5);
    EngineReset();
    EXPECT_EQ(ObjectCount(), 0);
    EXPECT_EQ(TextureCount(), 0);
    EXPECT_TRUE(state.Objects.empty());
    EXPECT_TRUE(state.Textures.empty());
    EXPECT_EQ(NewObject(0, 0, 0, 0), 0);
}

TEST_F(Stores, InitSetsTheDefaults) {
    state.DefaultFarDistance = 5.0f;
    EngineInit();
    EXPECT_EQ(state.DefaultFarDistance, 1000.0f);
    EXPECT_EQ(ObjectCount(), 0);
}

} // namespace
