// Pictures whose headers lie. The suite also runs these with the decoder built under
// AddressSanitizer.
#include <gtest/gtest.h>

#include <random>

#include "engine/bmp.h"
#include "tests/support/engine/bmp_files.h"

namespace {

using namespace kxtest;

// Header fields of a picture written with a 40-byte info header.
constexpr std::size_t kDataOffset = 10;
constexpr std::size_t kWidth = 18;
constexpr std::size_t kHeight = 22;
constexpr std::size_t kBits = 28;
constexpr std::size_t kCompression = 30;
constexpr std::size_t kColoursUsed = 46;

bool Decodes(const Bytes& file) {
    return engine::DecodeBmp(file).has_value();
}

Bytes With32(Bytes file, std::size_t at, std::uint32_t value) {
    Set32(file, at, value);
    return file;
}

TEST(HostileBmp, SidesOutsideOneTo8192AreRefused) {
    const Bytes valid = Gradient24(4, 4);
    ASSERT_TRUE(Decodes(valid));
    for (std::uint32_t side : {0u, 0xFFFFFFFFu, 0x80000000u, 8193u, 16384u, 32767u}) {
        SCOPED_TRACE(side);
        EXPECT_FALSE(Decodes(With32(valid, kWidth, side)));
        // A height of -1 is a top-down picture of one row.
        if (side != 0xFFFFFFFFu) {
            EXPECT_FALSE(Decodes(With32(valid, kHeight, side)));
        }
        EXPECT_FALSE(engine::CheckBmpHeader(With32(With32(valid, kWidth, side), kHeight, side)));
    }
    // Top-down pictures give their height as a negative number; its size is checked the same.
    EXPECT_TRUE(Decodes(With32(valid, kHeight, static_cast<std::uint32_t>(-4))));
    EXPECT_FALSE(Decodes(With32(valid, kHeight, static_cast<std::uint32_t>(-8193))));
}

TEST(HostileBmp, DepthsAndCompressionsTheDecoderDoesNotReadAreRefused) {
    const Bytes valid = Gradient24(4, 4);
    for (std::uint16_t bits : {0, 2, 3, 15, 48, 64, 0xFFFF}) {
        Bytes file = valid;
        file[kBits] = static_cast<std::uint8_t>(bits);
        file[kBits + 1] = static_cast<std::uint8_t>(bits >> 8);
        EXPECT_FALSE(Decodes(file)) << bits;
    }
    // Run-length, bit fields on a 24-bit picture, JPEG, PNG, nonsense.
    for (std::uint32_t compression : {1u, 2u, 3u, 4u, 5u, 6u, 0xFFFFFFFFu})
        EXPECT_FALSE(Decodes(With32(valid, kCompression, compression))) << compression;
    // Unknown info header sizes.
    for (std::uint32_t size : {0u, 11u, 13u, 39u, 64u, 0xFFFFFFFFu})
        EXPECT_FALSE(Decodes(With32(valid, 14, size))) << size;
}

TEST(HostileBmp, FilesTooShortForTheirRowsOrPaletteAreRefused) {
    const Bytes valid = Gradient24(5, 3);
    for (std::size_t n = 0; n < valid.size(); ++n)
        EXPECT_FALSE(Decodes(Bytes(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(n))))
            << n;
    // Rows said to start beyond the end, or wrapping round.
    EXPECT_FALSE(Decodes(With32(valid, kDataOffset, static_cast<std::uint32_t>(valid.size()))));
    EXPECT_FALSE(Decodes(With32(valid, kDataOffset, 0xFFFFFFF0u)));

    // An 8-bit picture claiming more colours than 8 bits index, or a palette past the end.
    const std::vector<Rgb> palette{{1, 1, 1}, {2, 2, 2}};
    BmpOptions two;
    two.coloursUsed = 2;
    const Bytes paletted = EncodeBmp(3, 2, 8, {}, palette, {0, 1, 0, 1, 1, 0}, two);
    ASSERT_TRUE(Decodes(paletted));
    EXPECT_FALSE(Decodes(With32(paletted, kColoursUsed, 257)));
    EXPECT_FALSE(Decodes(With32(paletted, kColoursUsed, 0xFFFFFFFFu)));
    EXPECT_FALSE(Decodes(With32(paletted, kColoursUsed, 200)));
}

TEST(HostileBmp, TheHeaderCheckAloneRefusesEveryStrictPrefix) {
    // 15-byte rows padded to 16: the last row ends 48 bytes after the data offset, so a check
    // that forgot the padding would pass the three bytes before the end.
    const Bytes valid = Gradient24(5, 3);
    ASSERT_EQ(valid.size(), 14u + 40 + 3 * 16);
    const auto layout = engine::CheckBmpHeader(valid);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->width, 5);
    EXPECT_EQ(layout->height, 3);
    EXPECT_EQ(layout->bitsPerPixel, 24);
    for (std::size_t n = 0; n < valid.size(); ++n)
        EXPECT_FALSE(engine::CheckBmpHeader(std::span(valid).first(n)).has_value()) << n;
}

TEST(HostileBmp, APixelOutsideAShortPaletteIsRefused) {
    BmpOptions two;
    two.coloursUsed = 2;
    for (int bits : {1, 4, 8}) {
        const std::uint8_t beyond = bits == 1 ? 1 : 5;
        BmpOptions used = two;
        used.coloursUsed = bits == 1 ? 1 : 2;
        EXPECT_FALSE(
            Decodes(EncodeBmp(3, 1, bits, {}, {{1, 1, 1}, {2, 2, 2}}, {0, beyond, 0}, used)))
            << bits;
    }
}

const std::vector<Rgb> kFour{{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}};
const Bytes kRle8{3, 1, 0, 0, 0, 3, 1, 2, 3, 0, 0, 2, 0, 1, 1, 3, 0, 1};

TEST(HostileBmp, DamagedOrTruncatedRunLengthsAreRefused) {
    const Bytes valid = EncodeRleBmp(4, 3, 8, kFour, kRle8);
    ASSERT_TRUE(Decodes(valid));
    for (std::size_t n = 0; n < valid.size(); ++n)
        EXPECT_FALSE(Decodes(Bytes(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(n))))
            << n;
    // Runs past the row's end, deltas out of the picture, an index beyond the palette, bottom
    // rows said to be stored top first.
    EXPECT_FALSE(Decodes(EncodeRleBmp(4, 1, 8, kFour, {5, 1, 0, 1})));
    EXPECT_FALSE(Decodes(EncodeRleBmp(4, 1, 8, kFour, {0, 3, 1, 1, 1, 0, 2, 1, 0, 1})));
    EXPECT_FALSE(Decodes(EncodeRleBmp(4, 1, 4, kFour, {5, 0x11, 0, 1})));
    EXPECT_FALSE(Decodes(EncodeRleBmp(4, 2, 8, kFour, {0, 2, 5, 0, 0, 1})));
    EXPECT_FALSE(Decodes(EncodeRleBmp(4, 2, 8, kFour, {0, 2, 1, 2, 0, 1})));
    EXPECT_FALSE(Decodes(EncodeRleBmp(4, 1, 8, kFour, {2, 4, 0, 1})));
    EXPECT_FALSE(Decodes(With32(valid, kHeight, static_cast<std::uint32_t>(-3))));
    // Data said to start at or past the end.
    EXPECT_FALSE(Decodes(With32(valid, kDataOffset, static_cast<std::uint32_t>(valid.size()))));
}

TEST(HostileBmp, RandomlyDamagedPicturesDecodeSafely) {
    const std::vector<Bytes> seeds{
        EncodeRleBmp(4, 3, 8, kFour, kRle8),
        EncodeRleBmp(7, 2, 4, kFour, {5, 0x12, 0, 0, 0, 5, 0x12, 0x31, 0x20, 0, 2, 0x30, 0, 1}),
        Gradient24(7, 5),
        EncodeBmp(6, 2, 4, {}, std::vector<Rgb>(16, Rgb{3, 4, 5}),
                  std::vector<std::uint8_t>(12, 3)),
        EncodeBmp(5, 3, 16, Gradient(5, 3), {}, {}, BmpOptions{40, true, 0}),
        EncodeBmp(5, 3, 32, Gradient(5, 3))};
    std::mt19937 random(99);
    for (int round = 0; round < 4000; ++round) {
        Bytes file = seeds[round % seeds.size()];
        const int flips = 1 + static_cast<int>(random() % 6);
        for (int f = 0; f < flips; ++f) {
            // Mostly the header, where the lies matter.
            const std::size_t limit =
                random() % 4 ? std::min<std::size_t>(file.size(), 60) : file.size();
            file[random() % limit] = static_cast<std::uint8_t>(random());
        }
        const auto picture = engine::DecodeBmp(file);
        if (picture) {
            ASSERT_GE(picture->width, 1);
            ASSERT_LE(picture->width, engine::kMaxPictureSide);
            ASSERT_EQ(picture->rgb.size(),
                      static_cast<std::size_t>(picture->width) * picture->height * 3);
        }
    }
}

} // namespace
