#include "tools/assetgen/text.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <stdexcept>

namespace assetgen {

TextLibrary::TextLibrary() {
    if (TTF_Init() != 0) throw std::runtime_error(std::string("SDL2_ttf: ") + TTF_GetError());
}

TextLibrary::~TextLibrary() {
    TTF_Quit();
}

void FontCloser::operator()(_TTF_Font* font) const {
    TTF_CloseFont(font);
}

Font OpenFont(Weight weight, int pixelSize) {
    const char* path = weight == Weight::Bold ? KX_FONT_BOLD : KX_FONT_REGULAR;
    Font font(TTF_OpenFont(path, pixelSize));
    if (!font)
        throw std::runtime_error(std::string("cannot open font ") + path + ": " + TTF_GetError());
    TTF_SetFontHinting(font.get(), TTF_HINTING_LIGHT);
    return font;
}

namespace {

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

} // namespace

// SDL2_ttf lays the glyph's line box with the pen at the left edge, moved right by the ink
// that reaches left of the pen.
GlyphInk RenderGlyph(_TTF_Font* font, char c) {
    GlyphInk glyph;
    int minX = 0, maxX = 0, minY = 0, maxY = 0;
    if (TTF_GlyphMetrics32(font, static_cast<Uint32>(c), &minX, &maxX, &minY, &maxY,
                           &glyph.advance) != 0)
        throw std::runtime_error(std::string("no glyph for '") + c + "': " + TTF_GetError());
    if (c == ' ') return glyph;
    const SDL_Color white{255, 255, 255, 255};
    std::unique_ptr<SDL_Surface, SurfaceFree> rendered(
        TTF_RenderGlyph32_Blended(font, static_cast<Uint32>(c), white));
    if (!rendered) throw std::runtime_error(std::string("cannot render glyph: ") + TTF_GetError());
    std::unique_ptr<SDL_Surface, SurfaceFree> argb(
        SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    if (!argb) throw std::runtime_error(std::string("cannot convert glyph: ") + SDL_GetError());
    const auto alpha = [&](int x, int y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(argb->pixels) + y * argb->pitch);
        return static_cast<std::uint8_t>(row[x] >> 24);
    };
    int x0 = argb->w, y0 = argb->h, x1 = -1, y1 = -1;
    for (int y = 0; y < argb->h; ++y)
        for (int x = 0; x < argb->w; ++x)
            if (alpha(x, y) != 0) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
    if (x1 < 0) return glyph;
    const int pen = std::max(0, -minX);
    glyph.left = x0 - pen;
    glyph.top = y0;
    glyph.width = x1 - x0 + 1;
    glyph.height = y1 - y0 + 1;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            glyph.coverage.push_back(alpha(x, y));
    return glyph;
}

TextMask RenderText(_TTF_Font* font, const std::string& utf8) {
    TextMask mask;
    if (utf8.empty()) return mask;
    const SDL_Color white{255, 255, 255, 255};
    std::unique_ptr<SDL_Surface, SurfaceFree> rendered(
        TTF_RenderUTF8_Blended(font, utf8.c_str(), white));
    if (!rendered) throw std::runtime_error(std::string("cannot render text: ") + TTF_GetError());
    std::unique_ptr<SDL_Surface, SurfaceFree> argb(
        SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    if (!argb) throw std::runtime_error(std::string("cannot convert text: ") + SDL_GetError());
    mask.width = argb->w;
    mask.height = argb->h;
    mask.coverage.resize(static_cast<std::size_t>(mask.width) * mask.height);
    const auto* bytes = static_cast<const std::uint8_t*>(argb->pixels);
    for (int y = 0; y < mask.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(bytes + y * argb->pitch);
        for (int x = 0; x < mask.width; ++x)
            mask.coverage[static_cast<std::size_t>(y) * mask.width + x] =
                static_cast<float>(row[x] >> 24) / 255.0f;
    }
    return mask;
}

int TextWidth(_TTF_Font* font, const std::string& utf8) {
    int w = 0, h = 0;
    if (utf8.empty() || TTF_SizeUTF8(font, utf8.c_str(), &w, &h) != 0) return 0;
    return w;
}

int LineHeight(_TTF_Font* font) {
    return TTF_FontHeight(font);
}

int Ascent(_TTF_Font* font) {
    return TTF_FontAscent(font);
}

void DrawMask(Canvas& canvas, const TextMask& mask, int x, int y, Rgb colour, float opacity) {
    for (int my = 0; my < mask.height; ++my)
        for (int mx = 0; mx < mask.width; ++mx) {
            const float c = mask.coverage[static_cast<std::size_t>(my) * mask.width + mx];
            if (c > 0.0f) Blend(canvas, x + mx, y + my, colour, c * opacity);
        }
}

std::vector<std::string> WrapText(_TTF_Font* font, const std::string& paragraph, int maxWidth) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t start = 0;
    while (start <= paragraph.size()) {
        std::size_t end = paragraph.find(' ', start);
        if (end == std::string::npos) end = paragraph.size();
        const std::string word = paragraph.substr(start, end - start);
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && TextWidth(font, candidate) > maxWidth) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
        start = end + 1;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

} // namespace assetgen
