// Pictures whose headers lie. The suite also runs these with the decoder built under
// AddressSanitizer.
#include <gtest/gtest.h>

#include <random>

#include "platform/bmp.h"
#include "bmp_files.h"

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
    return platform::DecodeBmp(file).has_value();
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
        EXPECT_FALSE(Decodes(With32(valid, kHeight, side)));
        EXPECT_FALSE(platform::CheckBmpHeader(With32(With32(valid, kWidth, side), kHeight, side)));
    }
    // Top-down pictures give their height as a negative number, and are refused with the rest.
    EXPECT_FALSE(Decodes(With32(valid, kHeight, static_cast<std::uint32_t>(-4))));
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

TEST(HostileBmp, RandomlyDamagedPicturesDecodeSafely) {
    const std::vector<Bytes> seeds{
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
        const auto picture = platform::DecodeBmp(file);
        if (picture) {
            ASSERT_GE(picture->width, 1);
            ASSERT_LE(picture->width, platform::kMaxPictureSide);
            ASSERT_EQ(picture->rgb.size(),
                      static_cast<std::size_t>(picture->width) * picture->height * 3);
        }
    }
}

} // namespace
