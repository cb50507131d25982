// Decoded pictures turned into GL textures, handed out as slots into engine::state.Textures.
#pragma once

#include <array>
#include <cstdint>

#include "engine/bmp.h"
#include "render/state.h"

namespace render {

// Pixel budgets for decoded pictures. The game's largest picture, the help page, has 2048 x 2048
// pixels, as many as one picture may have, and all eleven together about 7.9 million (with the
// status line's glyphs, counted after them, 8.9); all of them together may have about twice
// the game's, which keeps the textures of any archive well under 200 MB. A picture beyond
// either budget counts as undecodable.
inline constexpr std::int64_t kMaxPicturePixels = 2048 * 2048;
inline constexpr std::int64_t kMaxTotalPicturePixels = 16 * 1024 * 1024;
// No picture within the budget needs a larger file (four bytes a pixel, headers, a palette),
// so a larger member is refused before it is read or copied into Temp.
inline constexpr std::int64_t kMaxPictureFileBytes = 4 * kMaxPicturePixels + 64 * 1024;

// How a texture samples and combines its picture; the values go to GL unchanged. A
// minification filter without mipmaps uploads one level, any other builds every level.
struct TextureLook {
    std::int32_t magFilter = 0;
    std::int32_t minFilter = 0;
    std::int32_t envMode = 0;
};

// Linear magnification, trilinear mipmaps and the colour modulated: the look of every picture
// of the game.
extern const TextureLook kSmoothLook;

// Takes the next slot of engine::state.Textures, which binds no texture until a picture is uploaded
// into it.
std::int32_t NewTextureSlot();

// The most pixels the next picture may have: one picture's budget, or what is left of the
// total when that is less. A picture beyond it counts as undecodable.
std::int64_t PicturePixelsLeft();

// Uploads a decoded picture into `slot` and counts its pixels in engine::state.TexturePixels. A
// slot outside the store, or a picture with fewer pixels than its sides promise, is left alone.
// Needs a current GL context.
void UploadTexture(std::int32_t slot, const engine::Picture& picture, const TextureLook& look);

// Binds the texture of a slot to GL_TEXTURE_2D; -1 or any slot outside the store binds none.
void BindTextureSlot(std::int32_t slot);

// For the smooth texture bound now, drawn flat at one scale, `texelsPerPixel` being the larger
// of its two axes' texels per screen pixel. Where every pixel is magnified GL samples the base
// level alone, so the mipmaps are switched off: the same picture, without working out a level
// at each pixel. At any other scale they are on, and at every scale while
// state.SkipMipmapsWhenMagnified is clear. A margin keeps clear of the boundary, where a GL may
// round its choice either way.
void SampleBoundSmoothTexture(double texelsPerPixel);

// Samples the bound smooth texture from its nearest mipmap level only, not a blend of two: half
// the texel reads where a picture shows smaller than its base level. For the wood of the board
// and the pieces, whose grain then shifts by a few shades at most, along the hollows' rims. A
// blend of two while state.WoodFromNearestLevel is clear.
void SampleBoundTextureFromNearestLevel();

// The base level's width and height of the texture bound now; 0 and 0 for none.
std::array<std::int32_t, 2> BoundTextureSize();

} // namespace render
