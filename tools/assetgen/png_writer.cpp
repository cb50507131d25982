#include "tools/assetgen/png_writer.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

#include "tools/assetgen/bmp_writer.h"

namespace assetgen {

namespace {

constexpr std::size_t kStoredBlockLimit = 65535;

std::array<std::uint32_t, 256> CrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(std::vector<std::uint8_t>& out, const char (&type)[5],
           const std::vector<std::uint8_t>& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + typeAt, out.size() - typeAt));
}

// A zlib stream of stored blocks around `raw`.
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> z{0x78, 0x01}; // deflate, 32 KiB window, check bits valid
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(kStoredBlockLimit, raw.size() - at);
        const bool last = at + length == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(length));
        z.push_back(static_cast<std::uint8_t>(length >> 8));
        z.push_back(static_cast<std::uint8_t>(~length));
        z.push_back(static_cast<std::uint8_t>(~length >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    PutBigEndian(z, Adler32(raw.data(), raw.size()));
    return z;
}

} // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = CrcTable();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t Adler32(const std::uint8_t* data, std::size_t size) {
    constexpr std::uint32_t kModulus = 65521;
    std::uint32_t a = 1, b = 0;
    for (std::size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % kModulus;
        b = (b + a) % kModulus;
    }
    return (b << 16) | a;
}

std::vector<std::uint8_t> EncodePng(const RgbaPicture& picture) {
    const Canvas& c = picture.colour;
    if (c.width <= 0 || c.height <= 0 ||
        c.pixels.size() != static_cast<std::size_t>(c.width) * c.height ||
        picture.alpha.size() != c.pixels.size())
        throw std::logic_error("PNG picture: sizes do not match");

    // Each row: filter type 0 (none), then R, G, B, A.
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(c.height) * (1 + 4 * static_cast<std::size_t>(c.width)));
    for (int y = 0; y < c.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < c.width; ++x) {
            const Rgb& p = At(c, x, y);
            raw.insert(raw.end(),
                       {ToByte(p.r), ToByte(p.g), ToByte(p.b),
                        ToByte(picture.alpha[static_cast<std::size_t>(y) * c.width + x])});
        }
    }

    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(c.width));
    PutBigEndian(header, static_cast<std::uint32_t>(c.height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, filters, no interlace
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", StoredZlib(raw));
    Chunk(png, "IEND", {});
    return png;
}

} // namespace assetgen
