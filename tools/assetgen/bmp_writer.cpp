#include "tools/assetgen/bmp_writer.h"

#include <algorithm>
#include <stdexcept>

namespace assetgen {

std::uint8_t ToByte(float v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f);
}

namespace {

std::uint32_t Pack(const Rgb& c) {
    return (static_cast<std::uint32_t>(ToByte(c.r)) << 16) |
           (static_cast<std::uint32_t>(ToByte(c.g)) << 8) | ToByte(c.b);
}

int Channel(std::uint32_t colour, int axis) {
    return (colour >> (16 - 8 * axis)) & 0xFF;
}

struct Entry {
    std::uint32_t colour;
    std::uint32_t count;
};

// A run [first, last) of the histogram that becomes one palette entry.
struct Box {
    std::size_t first;
    std::size_t last;
    std::uint64_t pixels = 0;
    int widestAxis = 0;
    int widestRange = 0;
};

void Measure(Box& box, const std::vector<Entry>& histogram) {
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    box.pixels = 0;
    for (std::size_t i = box.first; i < box.last; ++i) {
        box.pixels += histogram[i].count;
        for (int a = 0; a < 3; ++a) {
            lo[a] = std::min(lo[a], Channel(histogram[i].colour, a));
            hi[a] = std::max(hi[a], Channel(histogram[i].colour, a));
        }
    }
    box.widestAxis = 0;
    box.widestRange = -1;
    for (int a = 0; a < 3; ++a) {
        if (hi[a] - lo[a] > box.widestRange) {
            box.widestRange = hi[a] - lo[a];
            box.widestAxis = a;
        }
    }
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::vector<std::uint8_t> Headers(int width, int height, int bitsPerPixel, int paletteSize,
                                  std::uint32_t pixelBytes, std::uint32_t compression = 0) {
    const std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(paletteSize);
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + pixelBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height)); // positive: bottom row first
    Put16(out, 1);
    Put16(out, static_cast<std::uint16_t>(bitsPerPixel));
    Put32(out, compression); // BI_RGB or BI_RLE8
    Put32(out, pixelBytes);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, static_cast<std::uint32_t>(paletteSize));
    Put32(out, 0);
    return out;
}

// One row as BI_RLE8 codes: runs of one index as (count, index), other stretches of three or
// more as an absolute block (0, count, indices, padded to even), the row ended by (0, 0).
void EncodeRleRow(const std::uint8_t* row, int width, std::vector<std::uint8_t>& out) {
    const auto runAt = [&](int x) {
        int n = 1;
        while (x + n < width && n < 255 && row[x + n] == row[x])
            ++n;
        return n;
    };
    int x = 0;
    while (x < width) {
        const int run = runAt(x);
        if (run >= 3 || width - x < 3) {
            const int n = std::min(run, width - x);
            out.push_back(static_cast<std::uint8_t>(n));
            out.push_back(row[x]);
            x += n;
            continue;
        }
        int end = x;
        while (end < width && end - x < 255 && runAt(end) < 3)
            ++end;
        const int n = end - x;
        if (n < 3) {
            for (; x < end; ++x) {
                out.push_back(1);
                out.push_back(row[x]);
            }
            continue;
        }
        out.push_back(0);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), row + x, row + end);
        if (n % 2 != 0) out.push_back(0);
        x = end;
    }
    out.push_back(0);
    out.push_back(0);
}

} // namespace

IndexedPicture Quantize(const Canvas& picture, int colours) {
    if (colours < 1 || colours > 256) throw std::invalid_argument("palette size out of range");
    std::vector<std::uint32_t> packed(picture.pixels.size());
    std::transform(picture.pixels.begin(), picture.pixels.end(), packed.begin(), Pack);

    std::vector<std::uint32_t> sorted = packed;
    std::sort(sorted.begin(), sorted.end());
    std::vector<Entry> histogram;
    for (std::uint32_t c : sorted) {
        if (!histogram.empty() && histogram.back().colour == c)
            ++histogram.back().count;
        else
            histogram.push_back({c, 1});
    }

    std::vector<Box> boxes{{0, histogram.size()}};
    Measure(boxes[0], histogram);
    while (static_cast<int>(boxes.size()) < colours) {
        // Split the box whose spread weighs most, at the pixel median of its widest channel.
        std::size_t pick = boxes.size();
        double bestScore = 0.0;
        for (std::size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].last - boxes[b].first < 2) continue;
            const double score = static_cast<double>(boxes[b].widestRange) *
                                 std::sqrt(static_cast<double>(boxes[b].pixels));
            if (pick == boxes.size() || score > bestScore) {
                pick = b;
                bestScore = score;
            }
        }
        if (pick == boxes.size()) break;
        Box box = boxes[pick];
        const int axis = box.widestAxis;
        std::stable_sort(histogram.begin() + static_cast<std::ptrdiff_t>(box.first),
                         histogram.begin() + static_cast<std::ptrdiff_t>(box.last),
                         [axis](const Entry& a, const Entry& b) {
                             return Channel(a.colour, axis) < Channel(b.colour, axis);
                         });
        std::uint64_t seen = 0;
        std::size_t split = box.first + 1;
        for (std::size_t i = box.first; i + 1 < box.last; ++i) {
            seen += histogram[i].count;
            split = i + 1;
            if (2 * seen >= box.pixels) break;
        }
        Box lower{box.first, split};
        Box upper{split, box.last};
        Measure(lower, histogram);
        Measure(upper, histogram);
        boxes[pick] = lower;
        boxes.push_back(upper);
    }

    IndexedPicture out;
    out.width = picture.width;
    out.height = picture.height;
    std::vector<std::pair<std::uint32_t, std::uint8_t>> lookup;
    lookup.reserve(histogram.size());
    for (std::size_t b = 0; b < boxes.size(); ++b) {
        double sum[3] = {0, 0, 0};
        for (std::size_t i = boxes[b].first; i < boxes[b].last; ++i) {
            for (int a = 0; a < 3; ++a)
                sum[a] += static_cast<double>(Channel(histogram[i].colour, a)) * histogram[i].count;
            lookup.emplace_back(histogram[i].colour, static_cast<std::uint8_t>(b));
        }
        std::array<std::uint8_t, 3> entry{};
        for (int a = 0; a < 3; ++a)
            entry[static_cast<std::size_t>(a)] =
                static_cast<std::uint8_t>(sum[a] / static_cast<double>(boxes[b].pixels) + 0.5);
        out.palette.push_back(entry);
    }
    std::sort(lookup.begin(), lookup.end());
    out.indices.resize(packed.size());
    for (std::size_t i = 0; i < packed.size(); ++i) {
        const auto it = std::lower_bound(lookup.begin(), lookup.end(),
                                         std::make_pair(packed[i], std::uint8_t{0}));
        out.indices[i] = it->second;
    }
    return out;
}

std::vector<std::uint8_t> EncodeBmp32(const Canvas& picture) {
    const std::uint32_t bytes =
        4u * static_cast<std::uint32_t>(picture.width) * static_cast<std::uint32_t>(picture.height);
    std::vector<std::uint8_t> out = Headers(picture.width, picture.height, 32, 0, bytes);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const Rgb& p = At(picture, x, y);
            out.push_back(ToByte(p.b));
            out.push_back(ToByte(p.g));
            out.push_back(ToByte(p.r));
            out.push_back(255);
        }
    }
    return out;
}

std::vector<std::uint8_t> EncodeBmp8(const IndexedPicture& picture) {
    const int stride = (picture.width + 3) / 4 * 4;
    std::vector<std::uint8_t> raw, rle;
    for (int y = picture.height - 1; y >= 0; --y) {
        const std::uint8_t* row =
            picture.indices.data() + static_cast<std::size_t>(y) * picture.width;
        raw.insert(raw.end(), row, row + picture.width);
        raw.insert(raw.end(), static_cast<std::size_t>(stride - picture.width), 0);
        EncodeRleRow(row, picture.width, rle);
    }
    if (!rle.empty()) rle.back() = 1; // the last row's end is the picture's end
    // Run-length coded where that is smaller: flat areas shrink, fine grain would grow.
    const bool coded = rle.size() < raw.size();
    const std::vector<std::uint8_t>& pixels = coded ? rle : raw;
    const int paletteSize = static_cast<int>(picture.palette.size());
    std::vector<std::uint8_t> out =
        Headers(picture.width, picture.height, 8, paletteSize,
                static_cast<std::uint32_t>(pixels.size()), coded ? 1 : 0);
    for (const auto& entry : picture.palette) {
        out.push_back(entry[2]);
        out.push_back(entry[1]);
        out.push_back(entry[0]);
        out.push_back(0);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

} // namespace assetgen
