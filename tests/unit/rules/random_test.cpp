#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "rules/random.h"

using namespace rules;

namespace {

TEST(Random, ASeedRepeatsItsSequenceAndRestartsTheCount) {
    SeedRandom(42);
    std::array<std::int32_t, 8> first{};
    for (auto& value : first)
        value = Random(1'000'000);
    EXPECT_EQ(RandomDraws(), 8u);
    SeedRandom(42);
    EXPECT_EQ(RandomDraws(), 0u);
    for (const auto value : first)
        EXPECT_EQ(Random(1'000'000), value);
    SeedRandom(43);
    int same = 0;
    for (const auto value : first)
        same += Random(1'000'000) == value;
    EXPECT_LT(same, 2);
}

TEST(Random, RangesOfOneOrLessGiveZeroAndStillAdvance) {
    for (const std::int32_t n : {1, 0, -7, INT_MIN}) {
        SeedRandom(5);
        Random(1000);
        const std::int32_t second = Random(1000);
        SeedRandom(5);
        EXPECT_EQ(Random(n), 0);
        EXPECT_EQ(Random(1000), second) << "n = " << n;
    }
}

TEST(Random, ValuesAreUniformWithoutModuloBias) {
    SeedRandom(9);
    std::array<int, 6> counts{};
    for (int k = 0; k < 60'000; ++k)
        ++counts[static_cast<std::size_t>(Random(6))];
    for (const int count : counts)
        EXPECT_NEAR(count, 10'000, 500);

    // With n = 3 * 2^29 a plain remainder would put 56 % of the values in the lower half.
    constexpr std::int32_t n = 3 << 29;
    int lower = 0;
    for (int k = 0; k < 100'000; ++k) {
        const std::int32_t value = Random(n);
        ASSERT_GE(value, 0);
        ASSERT_LT(value, n);
        lower += value < n / 2;
    }
    EXPECT_NEAR(lower, 50'000, 1'000);
    for (int k = 0; k < 1000; ++k)
        ASSERT_LT(static_cast<std::uint32_t>(Random(INT_MAX)), INT_MAX + 0u);
}

} // namespace
