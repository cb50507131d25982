// The description of one frame that the game hands to the renderer: the camera, the board and
// its moving pieces, the textures and lists to draw them with, the overlay's quads and the
// status line's glyphs. The renderer draws from this alone.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "render/text_run.h"
#include "rules/state.h"

namespace render {

// The last unit the 1024 x 768 virtual screen draws; hit tests reach one unit further. The
// game lays the overlay out in it and hands the renderer window pixels.
inline constexpr int kScreenRight = 1023;
inline constexpr int kScreenTop = 767;

struct Camera {
    float tilt = 0.0f; // degrees about X
    float turn = 0.0f; // degrees about the vertical axis
};

// An inclusive rectangle: of the virtual screen, or of window pixels (y up).
struct ScreenRect {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// One textured quad of the overlay; the nearer depth wins whatever the drawing order.
struct OverlayQuad {
    std::int32_t texture = -1; // texture slot; -1 binds none
    ScreenRect rect;           // window pixels
    float depth = 0.0f;
};

struct FrameView {
    Camera camera;
    std::array<std::uint8_t, 36> board{}; // cell values, indexed like rules::state.Board
    std::int32_t pulse = 0;               // blink phase of a completed square, 0..1000
    std::int32_t currentPlayer = 1;       // whose grey the preview and the falling piece take
    rules::Cell hover;                    // the preview piece; i = -1 for none
    rules::Cell focus;                    // the keyboard cursor's outline; i = -1 for none
    rules::Cell pending;                  // where the falling piece lands
    rules::Cell lastMove;                 // the piece that landed last, ringed; i = -1 for none
    std::int32_t moveDelay = 0;           // ms until it lands; 0 = no falling piece
    std::int32_t backgroundTexture = -1;
    std::int32_t boardTexture = -1;
    std::int32_t pieceTexture = -1;
    std::uint32_t boardList = 0;
    std::uint32_t pieceList = 0;
    std::vector<OverlayQuad> overlay; // drawn in this order over the scene
    TextRun text;                     // blended over the finished frame
};

} // namespace render
