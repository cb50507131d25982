// The 8-bit pictures the generator writes, run-length coded where that is smaller, decode to
// the very indices they were made from: runs, odd stretches, rows of odd widths and their ends.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/bmp.h"
#include "tools/assetgen/bmp_writer.h"

namespace {

using assetgen::IndexedPicture;

// Each row: a long run, a stretch of different indices, two alike, and a lone one at its end.
IndexedPicture Rows(int width, int height) {
    IndexedPicture picture{width, height, {}, {}};
    for (int k = 0; k < 256; ++k)
        picture.palette.push_back({static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(255 - k),
                                   static_cast<std::uint8_t>(k / 2)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int v = x < 300 ? y : (x < width - 3 ? x * 7 + y : (x < width - 1 ? 9 : 200));
            picture.indices.push_back(static_cast<std::uint8_t>(v));
        }
    return picture;
}

void ExpectDecodesTo(const IndexedPicture& picture) {
    const std::vector<std::uint8_t> file = assetgen::EncodeBmp8(picture);
    const auto decoded = engine::DecodeBmp(file);
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->width, picture.width);
    ASSERT_EQ(decoded->height, picture.height);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            // Decoded rows run bottom to top, the picture's top to bottom.
            const std::size_t at =
                (static_cast<std::size_t>(picture.height - 1 - y) * picture.width + x) * 3;
            const auto& colour =
                picture.palette[picture.indices[static_cast<std::size_t>(y) * picture.width + x]];
            ASSERT_EQ(decoded->rgb[at], colour[0]) << x << ", " << y;
            ASSERT_EQ(decoded->rgb[at + 1], colour[1]) << x << ", " << y;
            ASSERT_EQ(decoded->rgb[at + 2], colour[2]) << x << ", " << y;
        }
}

TEST(BmpWriter, RunLengthCodedPicturesDecodeToTheirIndices) {
    for (const int width : {600, 601, 1024})
        ExpectDecodesTo(Rows(width, 5));
    // Flat enough to be coded, and the file says so; fine grain stays uncoded.
    const std::vector<std::uint8_t> flat = assetgen::EncodeBmp8(Rows(1024, 4));
    EXPECT_EQ(flat[30], 1); // BI_RLE8
    IndexedPicture grain = Rows(64, 64);
    for (std::size_t k = 0; k < grain.indices.size(); ++k)
        grain.indices[k] = static_cast<std::uint8_t>(k * 37 % 251);
    EXPECT_EQ(assetgen::EncodeBmp8(grain)[30], 0); // BI_RGB
    ExpectDecodesTo(grain);
}

} // namespace
