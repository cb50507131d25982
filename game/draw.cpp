#include "game/draw.h"

#include "game/assets.h"
#include "game/keys.h"
#include "game/overlay_transform.h"
#include "game/panel.h"
#include "game/state.h"
#include "game/status_font.h"
#include "game/status_line.h"
#include "render/text.h"
#include "render/view.h"
#include "rules/history.h"
#include "rules/rules.h"

namespace game {

namespace {

// Depths in the overlay's orthographic space.
constexpr float kTabDepth = -60.0f;
constexpr float kPanelDepth = -50.0f;
constexpr float kControlDepth = -45.0f;
constexpr float kHelpDepth = -10.0f;

std::int32_t SeatPicture(int player) {
    return rules::state.SeatIsComputer[player] ? state.TexComputer : state.TexHuman;
}

std::int32_t BeginsPicture(int player) {
    return rules::state.FirstPlayer == player ? state.TexMark : state.TexEmpty;
}

std::vector<render::OverlayQuad> DescribeOverlay() {
    constexpr int kRight = render::kScreenRight;
    constexpr int kTop = render::kScreenTop;
    const int width = render::state.ViewportWidth, height = render::state.ViewportHeight;
    const auto corner = [&](const ScreenRect& units) {
        return CornerToWindow(units, width, height);
    };
    // The help page shows alone: the panel is pushed out, and the tab goes with it.
    if (state.HelpShown)
        return {{state.TexHelp, PageToWindow({0, 0, kRight, kTop}, width, height), kHelpDepth}};
    // The panel is drawn one unit left of where its controls are tested.
    const int left = kRight - state.MenuOffset;
    const panel::Rect& tab = panel::kTab;
    return {
        {state.TexMenuMark, corner({double(tab.x1), double(tab.y1), kRight, kTop}), kTabDepth},
        {state.TexMenu, corner({double(left), 0, double(left + panel::kWidth), kTop}), kPanelDepth},
        {SeatPicture(1), corner(PanelRect(panel::kSeat1, left)), kControlDepth},
        {SeatPicture(2), corner(PanelRect(panel::kSeat2, left)), kControlDepth},
        {BeginsPicture(1), corner(PanelRect(panel::kBegins1, left)), kControlDepth},
        {BeginsPicture(2), corner(PanelRect(panel::kBegins2, left)), kControlDepth},
        {state.TexStrength, corner(KnobRect(left)), kControlDepth},
    };
}

void DescribeStatusLine(render::TextRun& run) {
    run.texture = state.TexStatusFont;
    run.count = 0;
    if (state.HelpShown || state.TexStatusFont < 0) return;
    LayOutStatusLine(ChooseStatusText(), StatusFont(), render::state.ViewportWidth,
                     render::state.ViewportHeight, run);
}

} // namespace

render::Camera SceneCamera() {
    return {state.CameraTilt, state.CameraTurn};
}

render::FrameView DescribeFrame() {
    render::FrameView view;
    view.camera = SceneCamera();
    view.board = rules::state.Board;
    view.pulse = rules::state.Pulse;
    view.currentPlayer = rules::state.CurrentPlayer;
    view.hover = state.HoverCell;
    const int cursorCell = rules::CellIndex(state.KeyCursor.i, state.KeyCursor.j);
    if (state.KeyboardInUse && !state.HelpShown && cursorCell >= 0) {
        // The cursor previews a piece only where one can go; its outline shows always.
        // A hint flashes the outline off and on.
        const bool flashedOff =
            state.HintShown && (state.LastTick - state.HintTick) / kHintFlashMs % 2 == 1;
        if (!flashedOff) view.focus = state.KeyCursor;
        const bool free = rules::state.Board[static_cast<std::size_t>(cursorCell)] == rules::kEmpty;
        view.hover = free && !rules::state.GameOver ? state.KeyCursor : rules::Cell{};
    }
    view.pending = rules::state.PendingCell;
    view.moveDelay = rules::state.MoveDelay;
    view.lastMove = rules::LastMove();
    view.backgroundTexture = state.TexBackground;
    view.boardTexture = state.TexWood;
    view.pieceTexture = state.TexWood2;
    view.boardList = state.BoardList;
    view.pieceList = state.PieceList;
    view.overlay = DescribeOverlay();
    DescribeStatusLine(view.text);
    return view;
}

void DrawScene() {
    const render::FrameView view = DescribeFrame();
    render::DrawScene(view);
    render::DrawText(view);
}

} // namespace game
