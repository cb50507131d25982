// BMP files written byte by byte, for decoding and hostile-header tests.
#pragma once

#include <bit>
#include <cstdint>
#include <vector>

namespace kxtest {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct BmpOptions {
    std::uint32_t infoSize = 40;   // 12 for the old core header
    bool bitFields = false;        // 16-bit 5-6-5 or 32-bit 8-8-8 masks
    std::uint32_t coloursUsed = 0; // written as given for paletted pictures
    bool topDown = false;          // rows stored top first, under a negative height
    std::uint32_t masks[3] = {};   // red, green, blue bit fields in place of the common ones
};

inline void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
inline void Set32(Bytes& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A picture of `width` x `height` pixels, rows bottom first; paletted depths index `palette`
// with `indices`, the others store `pixels`.
inline Bytes EncodeBmp(int width, int height, int bits, const std::vector<Rgb>& pixels,
                       const std::vector<Rgb>& palette = {},
                       const std::vector<std::uint8_t>& indices = {}, BmpOptions options = {}) {
    Bytes info;
    Put32(info, options.infoSize);
    if (options.infoSize == 12) {
        Put16(info, static_cast<std::uint32_t>(width));
        Put16(info, static_cast<std::uint32_t>(height));
        Put16(info, 1);
        Put16(info, static_cast<std::uint32_t>(bits));
    } else {
        Put32(info, static_cast<std::uint32_t>(width));
        Put32(info, static_cast<std::uint32_t>(options.topDown ? -height : height));
        Put16(info, 1);
        Put16(info, static_cast<std::uint32_t>(bits));
        Put32(info, options.bitFields ? 3 : 0);
        Put32(info, 0);
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, bits <= 8 ? options.coloursUsed : 0);
        Put32(info, 0);
        info.resize(options.infoSize, 0);
        const bool custom = options.masks[0] | options.masks[1] | options.masks[2];
        // Longer headers hold the masks themselves, right after the first 40 bytes.
        const std::size_t at = options.infoSize == 40 ? info.size() : 40;
        if (options.bitFields && options.infoSize == 40) info.resize(info.size() + 12, 0);
        if (options.bitFields)
            for (int c = 0; c < 3; ++c) {
                const std::uint32_t common[2][3] = {{0xF800, 0x07E0, 0x001F},
                                                    {0x00FF0000, 0x0000FF00, 0x000000FF}};
                Set32(info, at + 4 * c, custom ? options.masks[c] : common[bits == 32][c]);
            }
    }
    for (const Rgb& c : palette) {
        info.push_back(c.b);
        info.push_back(c.g);
        info.push_back(c.r);
        if (options.infoSize != 12) info.push_back(0);
    }

    Bytes rows;
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    for (int y = 0; y < height; ++y) {
        Bytes row(stride, 0);
        // Top-down files hold the picture's top row first.
        const int from = options.topDown ? height - 1 - y : y;
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(from) * width + x;
            if (bits <= 8) {
                const int perByte = 8 / bits;
                const int shift = 8 - bits * (x % perByte + 1);
                row[x / perByte] |= static_cast<std::uint8_t>(indices[i] << shift);
                continue;
            }
            const Rgb& pixel = pixels[i];
            const Rgb& c = pixel;
            std::uint32_t value = 0;
            const bool custom = options.masks[0] | options.masks[1] | options.masks[2];
            if (custom)
                for (int c = 0; c < 3; ++c) {
                    const std::uint32_t mask = options.masks[c];
                    const std::uint8_t channel = c == 0 ? pixel.r : c == 1 ? pixel.g : pixel.b;
                    const std::uint32_t top = mask >> std::countr_zero(mask);
                    value |= static_cast<std::uint32_t>(std::uint64_t{channel} * top / 255)
                             << std::countr_zero(mask);
                }
            else if (bits == 16 && options.bitFields)
                value = (c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3;
            else if (bits == 16)
                value = (c.r >> 3) << 10 | (c.g >> 3) << 5 | c.b >> 3;
            else
                value = static_cast<std::uint32_t>(c.r) << 16 | c.g << 8 | c.b;
            for (int k = 0; k < bits / 8; ++k)
                row[x * (bits / 8) + k] = static_cast<std::uint8_t>(value >> (8 * k));
        }
        rows.insert(rows.end(), row.begin(), row.end());
    }

    Bytes file{'B', 'M'};
    const auto offset = static_cast<std::uint32_t>(14 + info.size());
    Put32(file, static_cast<std::uint32_t>(offset + rows.size()));
    Put32(file, 0);
    Put32(file, offset);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), rows.begin(), rows.end());
    return file;
}

// A run-length picture (8 or 4 bits) of `width` x `height` whose compressed rows are `stream`.
inline Bytes EncodeRleBmp(int width, int height, int bits, const std::vector<Rgb>& palette,
                          const Bytes& stream) {
    BmpOptions options;
    options.coloursUsed = static_cast<std::uint32_t>(palette.size());
    Bytes file =
        EncodeBmp(width, height, bits, {}, palette,
                  std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, 0), options);
    const std::size_t offset = file[10] | file[11] << 8;
    file.resize(offset);
    file.insert(file.end(), stream.begin(), stream.end());
    Set32(file, 30, bits == 8 ? 1 : 2);
    Set32(file, 34, static_cast<std::uint32_t>(stream.size()));
    Set32(file, 2, static_cast<std::uint32_t>(file.size()));
    return file;
}

// A 24-bit picture of distinct colours: every row and column tells apart.
inline std::vector<Rgb> Gradient(int width, int height) {
    std::vector<Rgb> out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.push_back({static_cast<std::uint8_t>(40 * x + 1),
                           static_cast<std::uint8_t>(70 * y + 2),
                           static_cast<std::uint8_t>(200 - 10 * x - 30 * y)});
    return out;
}

inline Bytes Gradient24(int width, int height) {
    return EncodeBmp(width, height, 24, Gradient(width, height));
}

} // namespace kxtest
