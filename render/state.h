// The render layer's run-time state: the viewport, the light and the depth clearing the frame
// starts from, the sampling choices that tests switch, and the contact shadow's picture. Only
// this layer writes it; ResetRenderState gives all of it its start values.
#pragma once

#include <array>
#include <cstdint>

namespace render {

// Light 1 comes from the left, above and in front, from infinitely far.
inline constexpr std::array<float, 4> kLightDirection{-1.0f, 0.5f, 0.5f, 0.0f};
inline constexpr float kClearDepth = 1.0f;

struct State {
    std::int32_t ViewportWidth = 0;  // client width last given to ResizeScene
    std::int32_t ViewportHeight = 1; // client height last given to ResizeScene, never 0
    std::array<float, 4> LightPosition = kLightDirection; // directional; set again before every use
    float ClearDepth = kClearDepth;                       // last value given to SetClearDepth

    // Set: a smooth texture drawn larger than its picture skips its mipmaps (render/texture.h).
    // Tests clear it to draw the same picture the costlier way.
    bool SkipMipmapsWhenMagnified = true;
    // Set: the wood is sampled from its nearest mipmap level (render/texture.h). Tests clear it
    // to blend two levels, as a smooth texture otherwise does.
    bool WoodFromNearestLevel = true;

    std::uint32_t ShadowTexture = 0; // the contact shadow's falloff picture; 0 = none, no shadows
};
extern State state;

// Start values of every member.
void ResetRenderState();

} // namespace render
