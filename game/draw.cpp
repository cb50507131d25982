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
    return rules::SeatIsComputer[player] ? TexComputer : TexHuman;
}

std::int32_t BeginsPicture(int player) {
    return rules::FirstPlayer == player ? TexMark : TexEmpty;
}

std::vector<render::OverlayQuad> DescribeOverlay() {
    constexpr int kRight = render::kScreenRight;
    constexpr int kTop = render::kScreenTop;
    const int width = render::ViewportWidth, height = render::ViewportHeight;
    const auto corner = [&](const ScreenRect& units) {
        return CornerToWindow(units, width, height);
    };
    // The help page shows alone: the panel is pushed out, and the tab goes with it.
    if (HelpShown)
        return {{TexHelp, PageToWindow({0, 0, kRight, kTop}, width, height), kHelpDepth}};
    // The panel is drawn one unit left of where its controls are tested.
    const int left = kRight - MenuOffset;
    const panel::Rect& tab = panel::kTab;
    return {
        {TexMenuMark, corner({double(tab.x1), double(tab.y1), kRight, kTop}), kTabDepth},
        {TexMenu, corner({double(left), 0, double(left + panel::kWidth), kTop}), kPanelDepth},
        {SeatPicture(1), corner(PanelRect(panel::kSeat1, left)), kControlDepth},
        {SeatPicture(2), corner(PanelRect(panel::kSeat2, left)), kControlDepth},
        {BeginsPicture(1), corner(PanelRect(panel::kBegins1, left)), kControlDepth},
        {BeginsPicture(2), corner(PanelRect(panel::kBegins2, left)), kControlDepth},
        {TexStrength, corner(KnobRect(left)), kControlDepth},
    };
}

void DescribeStatusLine(render::TextRun& run) {
    run.texture = TexStatusFont;
    run.count = 0;
    if (HelpShown || TexStatusFont < 0) return;
    LayOutStatusLine(ChooseStatusText(), StatusFont(), render::ViewportWidth,
                     render::ViewportHeight, run);
}

} // namespace

render::Camera SceneCamera() {
    return {CameraTilt, CameraTurn};
}

render::FrameView DescribeFrame() {
    render::FrameView view;
    view.camera = SceneCamera();
    view.board = rules::Board;
    view.pulse = rules::Pulse;
    view.currentPlayer = rules::CurrentPlayer;
    view.hover = HoverCell;
    const int cursorCell = rules::CellIndex(KeyCursor.i, KeyCursor.j);
    if (KeyboardInUse && !HelpShown && cursorCell >= 0) {
        // The cursor previews a piece only where one can go; its outline shows always.
        // A hint flashes the outline off and on.
        const bool flashedOff = HintShown && (LastTick - HintTick) / kHintFlashMs % 2 == 1;
        if (!flashedOff) view.focus = KeyCursor;
        const bool free = rules::Board[static_cast<std::size_t>(cursorCell)] == rules::kEmpty;
        view.hover = free && !rules::GameOver ? KeyCursor : rules::Cell{};
    }
    view.pending = rules::PendingCell;
    view.moveDelay = rules::MoveDelay;
    view.lastMove = rules::LastMove();
    view.backgroundTexture = TexBackground;
    view.boardTexture = TexWood;
    view.pieceTexture = TexWood2;
    view.boardList = BoardList;
    view.pieceList = PieceList;
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
