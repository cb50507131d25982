// Pictures of the archive turned into GL textures, handed out as slots into engine::Textures.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace render {

// Pixel budgets for decoded pictures. The game's largest picture has 2048 x 1024 pixels and all
// eleven together about 4.8 million; a picture may have twice the largest and all of them
// together about three and a half times the game's, which keeps the textures of any archive
// well under 200 MB. A picture beyond either budget counts as undecodable.
inline constexpr std::int64_t kMaxPicturePixels = 2048 * 2048;
inline constexpr std::int64_t kMaxTotalPicturePixels = 16 * 1024 * 1024;
// No picture within the budget needs a larger file (four bytes a pixel, headers, a palette),
// so a larger member is refused before it is read or copied into Temp.
inline constexpr std::int64_t kMaxPictureFileBytes = 4 * kMaxPicturePixels + 64 * 1024;

// Takes the next slot, whether or not the picture decodes, and returns it, or -1 when the
// picture is undecodable or over budget (engine::TexturePixels counts what was decoded). The
// picture is decoded from the bytes read out of the archive, never from the copy in Temp.
// `magFilter`, `minFilter` and `envMode` go to GL unchanged; a minification filter without mipmaps
// uploads one level, any other builds every level. With an empty archive name the file beside the
// program is read. Needs a current GL context.
std::int32_t LoadTexture(const std::string& fileName, const std::string& archiveName,
                         std::int32_t magFilter, std::int32_t minFilter, std::int32_t envMode);

// LoadTexture with linear magnification, trilinear mipmaps and the colour modulated: the
// look of every picture of the game.
std::int32_t LoadSmoothTexture(const std::string& fileName, const std::string& archiveName);

// Binds the texture of a slot to GL_TEXTURE_2D; -1 or any slot outside the store binds none.
void BindTextureSlot(std::int32_t slot);

// Set: a smooth texture drawn larger than its picture skips its mipmaps (see below). Tests
// clear it to draw the same picture the costlier way.
extern bool SkipMipmapsWhenMagnified;

// For the smooth texture bound now, drawn flat at one scale, `texelsPerPixel` being the larger
// of its two axes' texels per screen pixel. Where every pixel is magnified GL samples the base
// level alone, so the mipmaps are switched off: the same picture, without working out a level
// at each pixel. At any other scale they are on. A margin keeps clear of the boundary, where
// a GL may round its choice either way.
void SampleBoundSmoothTexture(double texelsPerPixel);

// The base level's width and height of the texture bound now; 0 and 0 for none.
std::array<std::int32_t, 2> BoundTextureSize();

} // namespace render
