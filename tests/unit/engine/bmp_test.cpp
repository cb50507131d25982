#include <gtest/gtest.h>

#include "engine/bmp.h"
#include "tests/support/engine/bmp_files.h"

namespace {

using namespace kxtest;

std::vector<Rgb> Pixels(const engine::Picture& p) {
    std::vector<Rgb> out;
    for (std::size_t i = 0; i + 2 < p.rgb.size(); i += 3)
        out.push_back({p.rgb[i], p.rgb[i + 1], p.rgb[i + 2]});
    return out;
}

// How a channel of `bits` bits reads back as a byte: the full range scaled onto 0..255.
std::uint8_t Widen(std::uint8_t value, int bits) {
    const int v = value >> (8 - bits), top = (1 << bits) - 1;
    return static_cast<std::uint8_t>((v * 255 + top / 2) / top);
}

void ExpectDecodes(const Bytes& file, int width, int height, const std::vector<Rgb>& expected) {
    const auto picture = engine::DecodeBmp(file);
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

    // Five bits of 16 are 132, as image editors show them, not 131.
    ExpectDecodes(EncodeBmp(1, 1, 16, {{128, 128, 128}}), 1, 1, {{132, 132, 132}});
    std::vector<Rgb> five, fiveSixFive;
    for (const Rgb& c : pixels) {
        five.push_back({Widen(c.r, 5), Widen(c.g, 5), Widen(c.b, 5)});
        fiveSixFive.push_back({Widen(c.r, 5), Widen(c.g, 6), Widen(c.b, 5)});
    }
    ExpectDecodes(EncodeBmp(width, height, 16, pixels), width, height, five);
    ExpectDecodes(EncodeBmp(width, height, 16, pixels, {}, {}, fields), width, height, fiveSixFive);
}

// Bit fields of any width and place: each channel's range scaled onto 0..255.
TEST(Bmp, BitFieldsWithAnyMasksGiveTheirColours) {
    const int width = 5, height = 3;
    const std::vector<Rgb> pixels = Gradient(width, height);
    struct Case {
        int bits;
        std::uint32_t infoSize;
        std::uint32_t masks[3];
    };
    for (const Case& c :
         {Case{16, 40, {0x0030, 0x000E, 0x0001}}, Case{16, 108, {0x0F00, 0x00F0, 0x000F}},
          Case{32, 40, {0x3FF00000, 0x000FFC00, 0x000003FF}},
          Case{32, 56, {0x000000FF, 0x0000FF00, 0xFF000000}},
          Case{32, 124, {0xFFFF0000, 0x0000FF00, 0x000000F0}}}) {
        SCOPED_TRACE(c.masks[0]);
        BmpOptions options;
        options.infoSize = c.infoSize;
        options.bitFields = true;
        std::copy(std::begin(c.masks), std::end(c.masks), options.masks);
        std::vector<Rgb> expected;
        for (const Rgb& p : pixels) {
            std::uint8_t out[3];
            const std::uint8_t in[3] = {p.r, p.g, p.b};
            for (int k = 0; k < 3; ++k) {
                const std::uint64_t top = c.masks[k] >> std::countr_zero(c.masks[k]);
                out[k] = static_cast<std::uint8_t>((in[k] * top / 255 * 255 + top / 2) / top);
            }
            expected.push_back({out[0], out[1], out[2]});
        }
        ExpectDecodes(EncodeBmp(width, height, c.bits, pixels, {}, {}, options), width, height,
                      expected);
    }
}

TEST(Bmp, TopDownPicturesComeOutBottomRowFirst) {
    const std::vector<Rgb> pixels = Gradient(5, 3);
    BmpOptions topDown;
    topDown.topDown = true;
    ExpectDecodes(EncodeBmp(5, 3, 24, pixels, {}, {}, topDown), 5, 3, pixels);
    const std::vector<Rgb> palette{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    const std::vector<std::uint8_t> indices{0, 1, 2, 2, 1, 0, 1, 1};
    std::vector<Rgb> expected;
    for (std::uint8_t i : indices)
        expected.push_back(palette[i]);
    topDown.coloursUsed = 3;
    ExpectDecodes(EncodeBmp(4, 2, 8, {}, palette, indices, topDown), 4, 2, expected);
}

// Runs, literal runs with their padding, end of line, delta and an early end of picture; the
// pixels the codes skip take the palette's first colour.
TEST(Bmp, RunLengthPicturesDecodeEveryCode) {
    const std::vector<Rgb> palette{{10, 20, 30}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    const Bytes rle8{3, 1, 2, 2, 0, 0,        // 1 1 1 2 2, end of line
                     0, 3, 3, 2, 1, 0,        // literal 3 2 1, padded
                     0, 2, 1, 1, 1, 3, 0, 1}; // delta to the top row's last pixel, end
    const std::vector<std::uint8_t> rows8{1, 1, 1, 2, 2, 3, 2, 1, 0, 0, 0, 0, 0, 0, 3};
    std::vector<Rgb> expected;
    for (std::uint8_t i : rows8)
        expected.push_back(palette[i]);
    ExpectDecodes(EncodeRleBmp(5, 3, 8, palette, rle8), 5, 3, expected);

    const Bytes rle4{5, 0x12, 0,    0,             // 1 2 1 2 1, end of line
                     0, 5,    0x12, 0x31, 0x20, 0, // literal 1 2 3 1 2, three bytes padded
                     2, 0x30, 0,    1};            // 3 0, end
    const std::vector<std::uint8_t> rows4{1, 2, 1, 2, 1, 0, 0, 1, 2, 3, 1, 2, 3, 0};
    expected.clear();
    for (std::uint8_t i : rows4)
        expected.push_back(palette[i]);
    ExpectDecodes(EncodeRleBmp(7, 2, 4, palette, rle4), 7, 2, expected);
}

TEST(Bmp, TheLargestAllowedSideStillDecodes) {
    const Bytes file = EncodeBmp(engine::kMaxPictureSide, 1, 24,
                                 std::vector<Rgb>(engine::kMaxPictureSide, Rgb{1, 2, 3}));
    const auto picture = engine::DecodeBmp(file);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, engine::kMaxPictureSide);
}

TEST(Bmp, OtherFormatsAreUndecodable) {
    const std::string png = "\x89PNG\r\n\x1a\n and more";
    EXPECT_FALSE(engine::DecodeBmp(Bytes(png.begin(), png.end())).has_value());
}

} // namespace
