// The font atlas as a texture, and the text drawn with it over the finished frame.
#pragma once

#include <cstdint>

#include "render/frame_view.h"
#include "render/glyph_atlas.h"

namespace render {

// Uploads the atlas into `slot` with its mipmaps, counted in engine::state.TexturePixels. A slot
// outside the store, or an atlas with fewer texels than its sides promise, is left alone.
// Needs a current GL context.
void UploadGlyphAtlas(std::int32_t slot, const GlyphAtlas& atlas);

// Blends the frame's text over what is drawn, nearer than anything; a slot that holds no
// texture (an emptied store) draws nothing. Leaves the projection, the model-view and the
// enabled state as it found them.
void DrawText(const FrameView& view);

} // namespace render
