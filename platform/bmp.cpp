#include "platform/bmp.h"

#include <SDL.h>

#include <climits>
#include <fstream>
#include <memory>

#include "base/byte_cursor.h"

namespace platform {
namespace {

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::size_t kFileHeader = 14;

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceFree>;
static_assert(SDL_BYTEORDER == SDL_LIL_ENDIAN, "the pixel layouts below are little-endian");

bool KnownDepth(std::uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool SideInRange(std::int64_t side) {
    return side >= 1 && side <= kMaxPictureSide;
}

} // namespace

std::optional<BmpLayout> CheckBmpHeader(std::span<const std::uint8_t> file) {
    base::ByteCursor cursor(file);
    const auto b = cursor.U8(), m = cursor.U8();
    if (b != 'B' || m != 'M' || !cursor.Skip(8)) return std::nullopt;
    const auto dataOffset = cursor.U32();
    const auto infoSize = cursor.U32();
    if (!dataOffset || !infoSize) return std::nullopt;

    std::int64_t width = 0, height = 0;
    std::uint16_t bits = 0;
    std::uint32_t compression = kUncompressed;
    std::uint32_t coloursUsed = 0;
    std::size_t paletteEntry = 4;
    if (*infoSize == 12) {
        const auto w = cursor.U16(), h = cursor.U16(), planes = cursor.U16(), depth = cursor.U16();
        if (!w || !h || !planes || !depth) return std::nullopt;
        width = *w;
        height = *h;
        bits = *depth;
        paletteEntry = 3;
    } else if (*infoSize == 40 || *infoSize == 52 || *infoSize == 56 || *infoSize == 108 ||
               *infoSize == 124) {
        const auto w = cursor.I32(), h = cursor.I32();
        const auto planes = cursor.U16(), depth = cursor.U16();
        const auto comp = cursor.U32();
        if (!w || !h || !planes || !depth || !comp || !cursor.Skip(12)) return std::nullopt;
        const auto used = cursor.U32();
        if (!used) return std::nullopt;
        width = *w;
        height = *h;
        bits = *depth;
        compression = *comp;
        coloursUsed = *used;
    } else {
        return std::nullopt;
    }

    // Top-down pictures (negative height) are refused along with every other odd side.
    if (!SideInRange(width) || !SideInRange(height) || !KnownDepth(bits)) return std::nullopt;
    const bool fields = compression == kBitFields && (bits == 16 || bits == 32);
    if (compression != kUncompressed && !fields) return std::nullopt;

    // The decoder reads the masks of a bit-field picture right after a 40-byte header.
    std::uint64_t headerEnd = kFileHeader + *infoSize + (fields && *infoSize == 40 ? 12 : 0);
    if (bits <= 8) {
        const std::uint32_t full = 1u << bits;
        if (coloursUsed > full) return std::nullopt;
        headerEnd += std::uint64_t{coloursUsed == 0 ? full : coloursUsed} * paletteEntry;
    }
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t rowsEnd = *dataOffset + stride * static_cast<std::uint64_t>(height);
    if (headerEnd > file.size() || rowsEnd > file.size()) return std::nullopt;
    return BmpLayout{static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), bits};
}

std::optional<Picture> DecodeBmp(std::span<const std::uint8_t> file) {
    const auto layout = CheckBmpHeader(file);
    if (!layout || file.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    SDL_RWops* source = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (!source) return std::nullopt;
    Surface surface(SDL_LoadBMP_RW(source, 1));
    if (!surface) return std::nullopt;

    // Common layouts are unpacked here: SDL's general conversion costs far more per pixel,
    // which shows at start-up with the large pictures. Anything else goes through it.
    const std::uint32_t format = surface->format->format;
    const bool direct = format == SDL_PIXELFORMAT_INDEX8 || format == SDL_PIXELFORMAT_BGR24 ||
                        format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888;
    if (!direct) surface.reset(SDL_ConvertSurfaceFormat(surface.get(), SDL_PIXELFORMAT_BGR24, 0));
    if (!surface || surface->w != layout->width || surface->h != layout->height)
        return std::nullopt;
    const SDL_Palette* palette = surface->format->palette;
    const int step = surface->format->BytesPerPixel;
    if (palette ? step != 1 : step < 3) return std::nullopt;

    Picture picture;
    picture.width = surface->w;
    picture.height = surface->h;
    picture.rgb.resize(static_cast<std::size_t>(surface->w) * 3 *
                       static_cast<std::size_t>(surface->h));
    if (SDL_LockSurface(surface.get()) != 0) return std::nullopt;
    // True-colour layouts keep blue, green, red in their first three bytes. SDL keeps the top
    // row first; the picture is handed on bottom row first, as BMP stores it.
    const auto* pixels = static_cast<const std::uint8_t*>(surface->pixels);
    auto out = picture.rgb.begin();
    for (int y = surface->h - 1; y >= 0; --y) {
        const std::uint8_t* from = pixels + static_cast<std::size_t>(y) * surface->pitch;
        for (int x = 0; x < surface->w; ++x, from += step) {
            if (palette) {
                if (*from >= palette->ncolors) {
                    SDL_UnlockSurface(surface.get());
                    return std::nullopt;
                }
                const SDL_Color& c = palette->colors[*from];
                *out++ = c.r;
                *out++ = c.g;
                *out++ = c.b;
                continue;
            }
            *out++ = from[2];
            *out++ = from[1];
            *out++ = from[0];
        }
    }
    SDL_UnlockSurface(surface.get());
    return picture;
}

std::optional<Picture> LoadBmp(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary | std::ios::ate);
    if (!in) return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < 0 || size > INT_MAX) return std::nullopt;
    std::vector<std::uint8_t> file(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(file.data()), size)) return std::nullopt;
    return DecodeBmp(file);
}

} // namespace platform
