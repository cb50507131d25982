#include <cstring>

#include "base/memory_block.h"
#include "platform/platform_double.h"
#include <gtest/gtest.h>

namespace {

using base::AllocBlock;
using base::FreeBlock;
using base::MemoryBlock;

TEST(MemoryBlock, ResizingKeepsTheCommonPrefix) {
    MemoryBlock block;
    AllocBlock(block, 4);
    ASSERT_FALSE(block.Empty());
    std::memcpy(block.data.get(), "abcd", 4);
    AllocBlock(block, 10);
    EXPECT_EQ(block.size, 10u);
    EXPECT_EQ(std::memcmp(block.data.get(), "abcd", 4), 0);
    AllocBlock(block, 2);
    EXPECT_EQ(block.size, 2u);
    EXPECT_EQ(std::memcmp(block.data.get(), "ab", 2), 0);
    FreeBlock(block);
    EXPECT_TRUE(block.Empty());
    EXPECT_EQ(block.size, 0u);
    FreeBlock(block);
    EXPECT_TRUE(block.Empty());
}

TEST(MemoryBlock, SizeZeroReportsAndLeavesTheReferenceEmpty) {
    platform::testing::ResetDouble();
    MemoryBlock block;
    AllocBlock(block, 16);
    AllocBlock(block, 0);
    EXPECT_TRUE(block.Empty());
    EXPECT_EQ(block.size, 0u);
    const auto& boxes = platform::testing::Double().boxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "VEngine internal error");
    EXPECT_EQ(boxes[0].text, "Not enough memory to run this application !");
}

} // namespace
