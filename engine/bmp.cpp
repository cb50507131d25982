#include "engine/bmp.h"

#include <algorithm>
#include <array>
#include <bit>

#include "base/byte_cursor.h"

namespace engine {
namespace {

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;
constexpr std::size_t kFileHeader = 14;

// Everything the decoder needs from the headers, checked against the file.
struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0; // always positive; `topDown` keeps the sign
    bool topDown = false;
    std::uint16_t bits = 0;
    std::uint32_t compression = kUncompressed;
    std::array<std::uint32_t, 3> masks{}; // red, green, blue, for 16 and 32-bit pictures
    std::size_t paletteAt = 0;
    std::uint32_t paletteCount = 0;
    std::size_t paletteEntry = 4;
    std::size_t dataOffset = 0;
};

bool KnownDepth(std::uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool SideInRange(std::int64_t side) {
    return side >= 1 && side <= kMaxPictureSide;
}

bool IsRle(std::uint32_t compression) {
    return compression == kRle8 || compression == kRle4;
}

std::optional<Header> ReadHeader(std::span<const std::uint8_t> file) {
    base::ByteCursor cursor(file);
    const auto b = cursor.U8(), m = cursor.U8();
    if (b != 'B' || m != 'M' || !cursor.Skip(8)) return std::nullopt;
    const auto dataOffset = cursor.U32();
    const auto infoSize = cursor.U32();
    if (!dataOffset || !infoSize) return std::nullopt;

    Header h;
    std::uint32_t coloursUsed = 0;
    if (*infoSize == 12) {
        const auto w = cursor.U16(), ht = cursor.U16(), planes = cursor.U16(), depth = cursor.U16();
        if (!w || !ht || !planes || !depth) return std::nullopt;
        h.width = *w;
        h.height = *ht;
        h.bits = *depth;
        h.paletteEntry = 3;
    } else if (*infoSize == 40 || *infoSize == 52 || *infoSize == 56 || *infoSize == 108 ||
               *infoSize == 124) {
        const auto w = cursor.I32(), ht = cursor.I32();
        const auto planes = cursor.U16(), depth = cursor.U16();
        const auto comp = cursor.U32();
        if (!w || !ht || !planes || !depth || !comp || !cursor.Skip(12)) return std::nullopt;
        const auto used = cursor.U32();
        if (!used || !cursor.Skip(4)) return std::nullopt;
        h.width = *w;
        h.height = *ht;
        h.bits = *depth;
        h.compression = *comp;
        coloursUsed = *used;
    } else {
        return std::nullopt;
    }
    if (h.height < 0) {
        h.height = -h.height;
        h.topDown = true;
    }
    if (!SideInRange(h.width) || !SideInRange(h.height) || !KnownDepth(h.bits)) return std::nullopt;

    const bool fields = (h.compression == kBitFields || h.compression == kAlphaBitFields) &&
                        (h.bits == 16 || h.bits == 32);
    const bool rle =
        (h.compression == kRle8 && h.bits == 8) || (h.compression == kRle4 && h.bits == 4);
    if (h.compression != kUncompressed && !fields && !rle) return std::nullopt;
    // Run-length pictures are stored bottom row first only.
    if (rle && h.topDown) return std::nullopt;

    if (h.bits == 16)
        h.masks = {0x7C00, 0x03E0, 0x001F};
    else if (h.bits == 32)
        h.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    // The masks sit at the end of a 40-byte header, or inside a longer one.
    std::uint64_t headerEnd = kFileHeader + *infoSize;
    if (fields) {
        if (*infoSize == 40) headerEnd += h.compression == kAlphaBitFields ? 16 : 12;
        if (!cursor.Seek(kFileHeader + 40)) return std::nullopt;
        for (auto& mask : h.masks) {
            const auto read = cursor.U32();
            if (!read) return std::nullopt;
            mask = *read;
        }
    }
    h.paletteAt = static_cast<std::size_t>(std::min<std::uint64_t>(headerEnd, file.size()));
    if (h.bits <= 8) {
        const std::uint32_t full = 1u << h.bits;
        if (coloursUsed > full) return std::nullopt;
        h.paletteCount = coloursUsed == 0 ? full : coloursUsed;
        headerEnd += std::uint64_t{h.paletteCount} * h.paletteEntry;
    }
    if (headerEnd > file.size() || *dataOffset >= file.size()) return std::nullopt;
    h.dataOffset = *dataOffset;
    if (!rle) {
        const std::uint64_t stride = (static_cast<std::uint64_t>(h.width) * h.bits + 31) / 32 * 4;
        if (h.dataOffset + stride * static_cast<std::uint64_t>(h.height) > file.size())
            return std::nullopt;
    }
    return h;
}

using Palette = std::vector<std::array<std::uint8_t, 3>>; // red, green, blue

Palette ReadPalette(std::span<const std::uint8_t> file, const Header& h) {
    Palette palette(h.paletteCount);
    base::ByteCursor cursor(file);
    cursor.Seek(h.paletteAt);
    for (auto& colour : palette) {
        const auto entry = cursor.Bytes(h.paletteEntry);
        if (!entry) return {};
        colour = {(*entry)[2], (*entry)[1], (*entry)[0]};
    }
    return palette;
}

// One channel of a bit-field pixel, its mask's full range scaled onto 0..255, rounded to the
// nearest level as image editors show it (five bits of 16 are 132).
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t top = 0;

    explicit Channel(std::uint32_t m)
        : mask(m), shift(m ? std::countr_zero(m) : 0), top(m ? m >> shift : 0) {}
    std::uint8_t operator()(std::uint32_t pixel) const {
        const std::uint64_t value = (pixel & mask) >> shift;
        // Eight-bit channels, the common case, need no scaling.
        if (top == 255) return static_cast<std::uint8_t>(value);
        return top ? static_cast<std::uint8_t>((value * 255 + top / 2) / top) : 0;
    }
};

// One stored row into `out` (width * 3 bytes); false on an index beyond the palette. Each
// depth has its own loop: the large pictures are decoded at start-up.
bool DecodeRow(std::span<const std::uint8_t> in, const Header& h, const Palette& palette,
               const std::array<Channel, 3>& channels, std::span<std::uint8_t> out) {
    const auto width = static_cast<std::size_t>(h.width);
    std::size_t o = 0;
    if (h.bits == 8) {
        for (std::size_t x = 0; x < width; ++x, o += 3) {
            if (in[x] >= palette.size()) return false;
            const auto& c = palette[in[x]];
            out[o] = c[0];
            out[o + 1] = c[1];
            out[o + 2] = c[2];
        }
    } else if (h.bits < 8) {
        const std::size_t perByte = 8u / h.bits;
        for (std::size_t x = 0; x < width; ++x, o += 3) {
            const int shift = 8 - h.bits * static_cast<int>(x % perByte + 1);
            const unsigned index = (in[x / perByte] >> shift) & ((1u << h.bits) - 1);
            if (index >= palette.size()) return false;
            std::copy(palette[index].begin(), palette[index].end(), out.begin() + o);
        }
    } else if (h.bits == 24) {
        for (std::size_t x = 0; x < width; ++x, o += 3) {
            out[o] = in[3 * x + 2];
            out[o + 1] = in[3 * x + 1];
            out[o + 2] = in[3 * x];
        }
    } else {
        const std::size_t step = h.bits / 8u;
        for (std::size_t x = 0; x < width; ++x, o += 3) {
            std::uint32_t pixel = 0;
            for (std::size_t k = step; k-- > 0;)
                pixel = pixel << 8 | in[step * x + k];
            for (std::size_t c = 0; c < 3; ++c)
                out[o + c] = channels[c](pixel);
        }
    }
    return true;
}

bool DecodeRows(std::span<const std::uint8_t> file, const Header& h, const Palette& palette,
                std::vector<std::uint8_t>& rgb) {
    const auto width = static_cast<std::size_t>(h.width);
    const std::size_t stride = (width * h.bits + 31) / 32 * 4;
    const std::array<Channel, 3> channels{Channel(h.masks[0]), Channel(h.masks[1]),
                                          Channel(h.masks[2])};
    base::ByteCursor cursor(file);
    if (!cursor.Seek(h.dataOffset)) return false;
    for (std::int64_t row = 0; row < h.height; ++row) {
        const auto bytes = cursor.Bytes(stride);
        if (!bytes) return false;
        const auto y = static_cast<std::size_t>(h.topDown ? h.height - 1 - row : row);
        if (!DecodeRow(*bytes, h, palette, channels,
                       std::span(rgb).subspan(y * width * 3, width * 3)))
            return false;
    }
    return true;
}

// Run-length data into palette indices, bottom row first. Pixels the codes skip keep index 0.
// Truncated data, or codes that would put a pixel outside the picture, fail.
bool DecodeRunLengths(std::span<const std::uint8_t> file, const Header& h,
                      std::vector<std::uint8_t>& indices) {
    const auto width = static_cast<std::size_t>(h.width);
    const auto height = static_cast<std::size_t>(h.height);
    const bool four = h.compression == kRle4;
    base::ByteCursor cursor(file);
    if (!cursor.Seek(h.dataOffset)) return false;
    std::size_t x = 0, y = 0;
    const auto put = [&](std::uint8_t index) {
        if (x >= width || y >= height) return false;
        indices[y * width + x++] = index;
        return true;
    };
    while (y < height) {
        const auto count = cursor.U8(), value = cursor.U8();
        if (!count || !value) return false;
        if (*count > 0) {
            for (unsigned i = 0; i < *count; ++i) {
                const std::uint8_t index =
                    four ? static_cast<std::uint8_t>(i % 2 ? *value & 15 : *value >> 4) : *value;
                if (!put(index)) return false;
            }
        } else if (*value == 0) { // end of line
            x = 0;
            ++y;
        } else if (*value == 1) { // end of picture
            return true;
        } else if (*value == 2) { // delta: right and up
            const auto dx = cursor.U8(), dy = cursor.U8();
            if (!dx || !dy) return false;
            x += *dx;
            y += *dy;
            if (x > width || y > height || (y == height && x > 0)) return false;
        } else { // a literal run, padded to a 16-bit boundary
            const std::size_t bytes = four ? (*value + 1u) / 2 : *value;
            const auto literal = cursor.Bytes(bytes + bytes % 2);
            if (!literal) return false;
            for (unsigned i = 0; i < *value; ++i) {
                const std::uint8_t byte = (*literal)[four ? i / 2 : i];
                const std::uint8_t index =
                    four ? static_cast<std::uint8_t>(i % 2 ? byte & 15 : byte >> 4) : byte;
                if (!put(index)) return false;
            }
        }
    }
    return true;
}

} // namespace

std::optional<BmpLayout> CheckBmpHeader(std::span<const std::uint8_t> file) {
    const auto h = ReadHeader(file);
    if (!h) return std::nullopt;
    return BmpLayout{static_cast<std::int32_t>(h->width), static_cast<std::int32_t>(h->height),
                     h->bits};
}

std::optional<Picture> DecodeBmp(std::span<const std::uint8_t> file, std::int64_t maxPixels) {
    const auto h = ReadHeader(file);
    if (!h || h->width * h->height > maxPixels) return std::nullopt;
    const Palette palette = ReadPalette(file, *h);
    if (palette.size() != h->paletteCount) return std::nullopt;

    Picture picture;
    picture.width = static_cast<std::int32_t>(h->width);
    picture.height = static_cast<std::int32_t>(h->height);
    const std::size_t pixels = static_cast<std::size_t>(h->width * h->height);
    if (!IsRle(h->compression)) {
        picture.rgb.resize(pixels * 3);
        if (!DecodeRows(file, *h, palette, picture.rgb)) return std::nullopt;
        return picture;
    }
    std::vector<std::uint8_t> indices(pixels, 0);
    if (!DecodeRunLengths(file, *h, indices)) return std::nullopt;
    picture.rgb.resize(pixels * 3);
    auto out = picture.rgb.begin();
    for (const std::uint8_t index : indices) {
        if (index >= palette.size()) return std::nullopt;
        out = std::copy(palette[index].begin(), palette[index].end(), out);
    }
    return picture;
}

} // namespace engine
