#include <gtest/gtest.h>

#include "platform/bmp.h"
#include "bmp_files.h"

namespace {

using namespace kxtest;

std::vector<Rgb> Pixels(const platform::Picture& p) {
    std::vector<Rgb> out;
    for (std::size_t i = 0; i + 2 < p.rgb.size(); i += 3)
        out.push_back({p.rgb[i], p.rgb[i + 1], p.rgb[i + 2]});
    return out;
}

// How a channel of `bits` bits reads back as a byte: the full range scaled onto 0..255.
std::uint8_t Widen(std::uint8_t value, int bits) {
    const int v = value >> (8 - bits);
    return static_cast<std::uint8_t>(v * 255 / ((1 << bits) - 1));
}

void ExpectDecodes(const Bytes& file, int width, int height, const std::vector<Rgb>& expected) {
    const auto picture = platform::DecodeBmp(file);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, width);
    EXPECT_EQ(picture->height, height);
    ASSERT_EQ(picture->rgb.size(), static_cast<std::size_t>(width * height * 3));
    EXPECT_EQ(Pixels(*picture), expected);
}

// Paletted pictures at every depth, with rows whose length is no multiple of 4 bytes.
TEST(Bmp, PalettedDepthsGiveTheirColoursBottomRowFirst) {
    const std::vector<Rgb> palette{{255, 0, 0},  {0, 255, 0},    {0, 0, 255},  {9, 9, 9},
                                   {10, 20, 30}, {200, 100, 50}, {1, 2, 3},    {4, 5, 6},
                                   {7, 8, 9},    {11, 12, 13},   {14, 15, 16}, {17, 18, 19},
                                   {20, 21, 22}, {23, 24, 25},   {26, 27, 28}, {29, 30, 31}};
    for (int bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        const int colours = bits == 1 ? 2 : 16;
        const int width = 13, height = 3;
        std::vector<std::uint8_t> indices;
        std::vector<Rgb> expected;
        for (int i = 0; i < width * height; ++i) {
            indices.push_back(static_cast<std::uint8_t>((i * 7 + i / width) % colours));
            expected.push_back(palette[indices.back()]);
        }
        const std::vector<Rgb> used(palette.begin(), palette.begin() + colours);
        BmpOptions options;
        options.coloursUsed = bits == 8 ? 16 : 0; // a short palette, as many writers leave it
        ExpectDecodes(EncodeBmp(width, height, bits, {}, used, indices, options), width, height,
                      expected);
        // The same with the old core header, whose palette entries have three bytes.
        if (bits != 8) continue;
        BmpOptions core;
        core.infoSize = 12;
        std::vector<Rgb> full = used;
        full.resize(256);
        ExpectDecodes(EncodeBmp(width, height, bits, {}, full, indices, core), width, height,
                      expected);
    }
}

TEST(Bmp, TrueColourDepthsGiveTheirColoursBottomRowFirst) {
    const int width = 5, height = 3;
    const std::vector<Rgb> pixels = Gradient(width, height);
    ExpectDecodes(Gradient24(width, height), width, height, pixels);
    ExpectDecodes(EncodeBmp(width, height, 32, pixels), width, height, pixels);
    BmpOptions fields;
    fields.bitFields = true;
    ExpectDecodes(EncodeBmp(width, height, 32, pixels, {}, {}, fields), width, height, pixels);
    BmpOptions v5;
    v5.infoSize = 124;
    ExpectDecodes(EncodeBmp(width, height, 24, pixels, {}, {}, v5), width, height, pixels);

    std::vector<Rgb> five, fiveSixFive;
    for (const Rgb& c : pixels) {
        five.push_back({Widen(c.r, 5), Widen(c.g, 5), Widen(c.b, 5)});
        fiveSixFive.push_back({Widen(c.r, 5), Widen(c.g, 6), Widen(c.b, 5)});
    }
    ExpectDecodes(EncodeBmp(width, height, 16, pixels), width, height, five);
    ExpectDecodes(EncodeBmp(width, height, 16, pixels, {}, {}, fields), width, height, fiveSixFive);
}

TEST(Bmp, TheLargestAllowedSideStillDecodes) {
    const Bytes file = EncodeBmp(platform::kMaxPictureSide, 1, 24,
                                 std::vector<Rgb>(platform::kMaxPictureSide, Rgb{1, 2, 3}));
    const auto picture = platform::DecodeBmp(file);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, platform::kMaxPictureSide);
}

TEST(Bmp, MissingFilesAndOtherFormatsAreUndecodable) {
    EXPECT_FALSE(platform::LoadBmp("/nonexistent/folder/picture.bmp").has_value());
    const std::string png = "\x89PNG\r\n\x1a\n and more";
    EXPECT_FALSE(platform::DecodeBmp(Bytes(png.begin(), png.end())).has_value());
}

} // namespace
