// Pictures of the archive turned into GL textures, handed out as slots into engine::Textures.
#pragma once

#include <cstdint>
#include <string>

namespace render {

// Takes the next slot, whether or not the picture decodes, and returns it, or -1 when the
// picture is undecodable. `magFilter`, `minFilter` and `envMode` go to GL unchanged; a
// minification filter without mipmaps uploads one level, any other builds every level.
// With an empty archive name the file beside the program is read. Needs a current GL context.
std::int32_t LoadTexture(const std::string& fileName, const std::string& archiveName,
                         std::int32_t magFilter, std::int32_t minFilter, std::int32_t envMode);

// LoadTexture with linear magnification, trilinear mipmaps and the colour modulated: the
// look of every picture of the game.
std::int32_t LoadSmoothTexture(const std::string& fileName, const std::string& archiveName);

// Binds the texture of a slot to GL_TEXTURE_2D; -1 or any slot outside the store binds none.
void BindTextureSlot(std::int32_t slot);

} // namespace render
