// The status line in the window's top-left corner, over the backdrop: whose turn it is or who
// won (after a disc in that player's shade), the games won since the program started, what to
// press after the end, and the prompt of a first Esc during a game.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "render/glyph_atlas.h"
#include "render/text_run.h"

namespace game {

// How long the prompt of a first Esc stands, and a second Esc quits.
inline constexpr std::uint32_t kQuitPromptMs = 3000;

// The line's parts in the order they show; fixed buffers, so a frame allocates nothing for it.
struct StatusText {
    std::int32_t discPlayer = 0; // the player whose disc leads the first part; 0 for none
    std::array<std::array<char, 40>, 3> parts{};
    std::size_t count = 0;
};

// What the line says in the game's present state.
StatusText ChooseStatusText();

// Lays the text out for a window of width x height pixels: the line box about 4 % of the
// height, starting a new line between parts where the window is too narrow, and never
// reaching under the panel opened.
void LayOutStatusLine(const StatusText& text, const render::GlyphAtlas& atlas, int width,
                      int height, render::TextRun& run);

} // namespace game
