#include "game/state.h"

#include <initializer_list>

namespace game {

namespace {

// The view and panel at start-up: the variables' first values and ResetGameState's.
constexpr struct {
    std::int32_t menuOffset = 5;
    float cameraTilt = -45.0f;
    float cameraTurn = 45.0f;
    double strengthSlider = 50.0;
} kStart;

} // namespace

std::int32_t BoardObjectIndex = -1;
std::int32_t PieceObjectIndex = -1;
std::uint32_t BoardList = 0;
std::uint32_t PieceList = 0;
std::int32_t TexWood = -1;
std::int32_t TexWood2 = -1;
std::int32_t TexHelp = -1;
std::int32_t TexBackground = -1;
std::int32_t TexMenuMark = -1;
std::int32_t TexMenu = -1;
std::int32_t TexComputer = -1;
std::int32_t TexHuman = -1;
std::int32_t TexStrength = -1;
std::int32_t TexMark = -1;
std::int32_t TexEmpty = -1;
std::int32_t TexStatusFont = -1;

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
bool HintShown = false;
std::uint32_t HintTick = 0;
bool QuitPromptShown = false;
std::uint32_t QuitPromptTick = 0;

void ResetGameState() {
    BoardObjectIndex = -1;
    PieceObjectIndex = -1;
    BoardList = 0;
    PieceList = 0;
    for (std::int32_t* slot :
         {&TexWood, &TexWood2, &TexHelp, &TexBackground, &TexMenuMark, &TexMenu, &TexComputer,
          &TexHuman, &TexStrength, &TexMark, &TexEmpty, &TexStatusFont})
        *slot = -1;

    HoverCell = rules::Cell{};
    StrengthSlider = kStart.strengthSlider;
    LastTick = 0;
    FrameTime = 0;
    PointerX = 0;
    PointerY = 0;
    MenuOffset = kStart.menuOffset;
    HelpShown = false;
    SliderDragging = false;
    SliderDragX = 0;
    Rotating = false;
    RotateAnchorX = 0;
    RotateAnchorY = 0;
    CameraTilt = kStart.cameraTilt;
    CameraTurn = kStart.cameraTurn;
    KeyboardInUse = false;
    KeyCursor = rules::Cell{};
    LastCursorX = 0;
    LastCursorY = 0;
    PanelOpenedByKey = false;
    HintShown = false;
    HintTick = 0;
    QuitPromptShown = false;
    QuitPromptTick = 0;
}

} // namespace game
