#include "game/state.h"

namespace game {

namespace {

// The view and panel at start-up: the variables' first values and the init functions'.
constexpr struct {
    std::int32_t menuOffset = 5;
    float cameraTilt = -45.0f;
    float cameraTurn = 45.0f;
    double strengthSlider = 50.0;
} kStart;

} // namespace

rules::Cell HoverCell{};
double StrengthSlider = kStart.strengthSlider;

std::uint32_t LastTick = 0;
std::int32_t FrameTime = 0;
std::int32_t PointerX = 0;
std::int32_t PointerY = 0;
std::int32_t MenuOffset = kStart.menuOffset;
bool HelpShown = false;
bool SliderDragging = false;
std::int32_t SliderDragX = 0;
bool Rotating = false;
std::int32_t RotateAnchorX = 0;
std::int32_t RotateAnchorY = 0;
float CameraTilt = kStart.cameraTilt;
float CameraTurn = kStart.cameraTurn;
bool KeyboardInUse = false;
rules::Cell KeyCursor{};
std::int32_t LastCursorX = 0;
std::int32_t LastCursorY = 0;
bool PanelOpenedByKey = false;

void InitViewState() {
    HelpShown = false;
    MenuOffset = kStart.menuOffset;
    rules::GameOver = false;
    CameraTilt = kStart.cameraTilt;
    CameraTurn = kStart.cameraTurn;
    SliderDragging = false;
    Rotating = false;
    HoverCell = rules::Cell{};
    KeyboardInUse = false;
    KeyCursor = rules::Cell{};
    PanelOpenedByKey = false;
}

void InitPanelState() {
    LastTick = 0;
    StrengthSlider = kStart.strengthSlider;
}

} // namespace game
