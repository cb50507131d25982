#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "base/report.h"
#include "engine/model3ds.h"
#include "engine/store.h"
#include "platform/platform_double.h"

namespace {

namespace pt = platform::testing;

class EngineReports : public ::testing::Test {
  protected:
    void SetUp() override {
        pt::ResetDouble();
        engine::EngineInit();
        engine::NewObject(0, 1, 3, 0);
    }
};

TEST_F(EngineReports, OutsideALoadTheBoxShowsAndTheStoresEmptyAtOnce) {
    base::ShowEngineError("outside");
    ASSERT_EQ(pt::Double().boxes.size(), 1u);
    EXPECT_EQ(pt::Double().boxes[0].text, "outside");
    EXPECT_EQ(engine::ObjectCount(), 0);
    EXPECT_TRUE(engine::state.Objects.empty());
}

TEST_F(EngineReports, DuringALoadTheResetWaitsForTheOutermostLoadToReturn) {
    {
        const base::LoadScope outer;
        {
            const base::LoadScope inner;
            EXPECT_FALSE(inner.Reported());
            base::ShowEngineError("inside");
            EXPECT_TRUE(inner.Reported());
        }
        // The box came at once; the store the loader writes into is still whole.
        EXPECT_EQ(pt::Double().boxes.size(), 1u);
        EXPECT_TRUE(outer.Reported());
        EXPECT_EQ(engine::ObjectCount(), 1);
        EXPECT_EQ(engine::state.Objects[0].Vertices.size(), 3u);
    }
    EXPECT_EQ(engine::ObjectCount(), 0);
    EXPECT_TRUE(engine::state.Objects.empty());
    // Once reset, the store takes new objects from index 0 again.
    EXPECT_EQ(engine::NewObject(0, 0, 0, 0), 0);
}

TEST_F(EngineReports, ALoadWithoutReportsLeavesTheStoresAlone) {
    { const base::LoadScope load; }
    EXPECT_EQ(engine::ObjectCount(), 1);
    const base::LoadScope later;
    EXPECT_FALSE(later.Reported());
}

TEST_F(EngineReports, TheModelLoaderWritesNothingAfterItsReport) {
    // No main chunk, then a named object the walk would otherwise add after the report.
    const std::vector<std::uint8_t> model{0x00, 0x40, 0x08, 0x00, 0x00, 0x00, 'x', 0x00};
    engine::Load3DSFromMemory(model, "odd.3ds", 255);
    ASSERT_EQ(pt::Double().boxes.size(), 1u);
    EXPECT_EQ(pt::Double().boxes[0].text, "This file isn't a valid 3DS format file: odd.3ds");
    EXPECT_EQ(engine::ObjectCount(), 0);
    EXPECT_TRUE(engine::state.Objects.empty());
}

} // namespace
