#include "game/state.h"

namespace game {

rules::Cell HoverCell{};
double StrengthSlider = 50.0;

std::uint32_t LastTick = 0;
std::int32_t FrameTime = 0;
std::int32_t PointerX = 0;
std::int32_t PointerY = 0;
std::int32_t MenuOffset = 5;
bool HelpShown = false;
bool SliderDragging = false;
std::int32_t SliderDragX = 0;
bool Rotating = false;
std::int32_t RotateAnchorX = 0;
std::int32_t RotateAnchorY = 0;
float CameraTilt = -45.0f;
float CameraTurn = 45.0f;

void InitViewState() {
    HelpShown = false;
    MenuOffset = 5;
    rules::GameOver = false;
    CameraTilt = -45.0f;
    CameraTurn = 45.0f;
    SliderDragging = false;
    Rotating = false;
    HoverCell = rules::Cell{};
}

void InitPanelState() {
    LastTick = 0;
    StrengthSlider = 50.0;
}

} // namespace game
