// The icons' PNG encoding. Whole files are decoded by ImageMagick in the install test; here
// the two checksums, which a decoder checks and a wrong table would silently break.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tools/assetgen/png_writer.h"

namespace {

using namespace assetgen;

const std::uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const std::uint8_t*>(s.data());
}

TEST(PngChecksums, MatchThePublishedCheckValues) {
    const std::string digits = "123456789";
    EXPECT_EQ(Crc32(Bytes(digits), digits.size()), 0xCBF43926u);
    EXPECT_EQ(Adler32(Bytes(digits), digits.size()), 0x091E01DEu);
    EXPECT_EQ(Crc32(nullptr, 0), 0u);
    EXPECT_EQ(Adler32(nullptr, 0), 1u);
}

TEST(PngEncoding, RefusesAPictureWhoseCoverageDoesNotMatch) {
    RgbaPicture p{MakeCanvas(4, 4), std::vector<float>(15, 1.0f)};
    EXPECT_THROW(EncodePng(p), std::logic_error);
    p.alpha.resize(16);
    const std::vector<std::uint8_t> png = EncodePng(p);
    // 8 signature + IHDR 25 + IDAT 12 + zlib (2 + 5 + 4 rows of 17 + 4) + IEND 12.
    EXPECT_EQ(png.size(), 8u + 25u + 12u + 2u + 5u + 68u + 4u + 12u);
}

} // namespace
