#include "game/keys.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "game/panel.h"
#include "game/state.h"
#include "platform/keymap.h"
#include "platform/window_state.h"
#include "rules/computer.h"
#include "rules/history.h"
#include "rules/perfect.h"
#include "rules/rules.h"
#include "rules/state.h"

namespace game {

namespace {

namespace vk = platform::vk;

// Where the first key starts when the pointer is on no cell.
constexpr rules::Cell kCentre{3, 3};
constexpr double kKnobStep = 5.0;

// The first cursor key after the pointer has moved starts from the pointer's cell.
void StartCursor() {
    if (state.KeyboardInUse) return;
    state.KeyCursor =
        rules::CellIndex(state.HoverCell.i, state.HoverCell.j) >= 0 ? state.HoverCell : kCentre;
    state.KeyboardInUse = true;
}

void MoveCursor(Direction direction) {
    state.HintShown = false;
    StartCursor();
    state.KeyCursor = StepCell(state.KeyCursor, direction, state.CameraTurn);
}

void MoveKnob(double by) {
    state.StrengthSlider = std::clamp(state.StrengthSlider + by, 0.0, 100.0);
    rules::SetStrength(state.StrengthSlider);
}

// A game under way would be lost to a stray Esc.
bool GameUnderWay() {
    return !rules::state.GameOver &&
           (rules::state.MoveDelay > 0 ||
            std::ranges::any_of(rules::state.Board,
                                [](std::uint8_t cell) { return cell != rules::kEmpty; }));
}

// Whether this Esc quits; the first during a game under way asks for a second.
bool EscQuits() {
    if (state.QuitPromptShown || !GameUnderWay()) return true;
    state.QuitPromptShown = true;
    state.QuitPromptTick = state.LastTick;
    return false;
}

// Undo and redo, as board games on the desktop bind them; true when the press was one of them.
bool HandleHistoryKey(const platform::KeyPress& press) {
    const bool undo = (press.ctrl && !press.shift && press.key == 'Z') || press.key == vk::kBack;
    const bool redo = press.ctrl && ((press.shift && press.key == 'Z') || press.key == 'Y');
    if (!undo && !redo) return false;
    if (!press.repeat && (undo ? rules::UndoMove() : rules::RedoMove())) state.HintShown = false;
    return true;
}

// A perfect player's move for the person whose turn it is: the cell cursor goes there and
// flashes, and Enter plays it. Nothing of the game changes.
void ShowHint() {
    if (rules::state.GameOver || rules::state.MoveDelay > 0 ||
        rules::IsComputerSeat(rules::state.CurrentPlayer))
        return;
    const rules::Hint hint = rules::PerfectHint(rules::state.Board, rules::state.CurrentPlayer);
    if (rules::CellIndex(hint.cell.i, hint.cell.j) < 0) return;
    state.KeyCursor = hint.cell;
    state.KeyboardInUse = true;
    state.HintShown = true;
    state.HintTick = state.LastTick;
}

bool IsHintKey(const platform::KeyPress& press) {
    return (press.ctrl && press.key == 'H') || press.key == vk::kQuestion ||
           (press.shift && press.key == vk::kSlash);
}

// A held key repeats: the cursor and the knob follow it, toggles act once per press.
void HandlePress(const platform::KeyPress& press, KeyRequests& requests) {
    if (HandleHistoryKey(press)) return;
    if (IsHintKey(press)) {
        if (!press.repeat) ShowHint();
        return;
    }
    switch (press.key) {
    case 'W':
    case vk::kNumpad8:
        return MoveCursor(Direction::Up);
    case 'D':
    case vk::kNumpad6:
        return MoveCursor(Direction::Right);
    case 'S':
    case vk::kNumpad2:
        return MoveCursor(Direction::Down);
    case 'A':
    case vk::kNumpad4:
        return MoveCursor(Direction::Left);
    case vk::kPlus:
    case vk::kAdd:
        return MoveKnob(kKnobStep);
    case vk::kMinus:
    case vk::kSubtract:
        return MoveKnob(-kKnobStep);
    default:
        break;
    }
    if (press.repeat) return;
    switch (press.key) {
    case vk::kReturn:
    case vk::kSpace:
        StartCursor();
        requests.place = true;
        break;
    case vk::kF1:
    case 'H':
        state.HelpShown = true;
        break;
    case 'N':
        requests.newGame = true;
        break;
    case vk::kF2:
        rules::ToggleSeat(1);
        break;
    case vk::kF3:
        rules::ToggleSeat(2);
        break;
    case 'B':
        rules::ToggleFirstPlayer();
        break;
    case vk::kEscape:
        requests.quit = requests.quit || EscQuits();
        break;
    case vk::kTab:
        state.PanelOpenedByKey = !(state.PanelOpenedByKey || PointerInPanelZone());
        break;
    default:
        break;
    }
}

} // namespace

rules::Cell StepCell(rules::Cell cell, Direction direction, float turn) {
    // The board's steps clockwise from +j; the turn decides which of them shows as up.
    constexpr std::array<rules::Cell, 4> kSteps{{{0, 1}, {1, 0}, {0, -1}, {-1, 0}}};
    const double quarters = std::isfinite(turn) ? std::floor(turn / 90.0 + 0.5) : 0.0;
    const int up = static_cast<int>(std::fmod(quarters, 4.0) + 4) % 4;
    const rules::Cell step =
        kSteps[static_cast<std::size_t>((up + static_cast<int>(direction)) % 4)];
    const rules::Cell next{cell.i + step.i, cell.j + step.j};
    return rules::CellIndex(next.i, next.j) >= 0 ? next : cell;
}

KeyRequests HandleKeyPresses() {
    KeyRequests requests;
    for (const platform::KeyPress& press : platform::TakeKeyPresses()) {
        if (state.HelpShown) {
            if (!press.repeat) state.HelpShown = false;
            continue;
        }
        HandlePress(press, requests);
    }
    return requests;
}

void EndHintWhenDone() {
    const int cell = rules::CellIndex(state.KeyCursor.i, state.KeyCursor.j);
    if (state.HintShown && (state.LastTick - state.HintTick >= kHintMs || !state.KeyboardInUse ||
                            rules::state.MoveDelay > 0 || rules::state.GameOver || cell < 0 ||
                            rules::state.Board[static_cast<std::size_t>(cell)] != rules::kEmpty))
        state.HintShown = false;
}

} // namespace game
