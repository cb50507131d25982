#include "game/overlay.h"

#include <GL/gl.h>

#include <cstdint>

#include "game/assets.h"
#include "game/panel.h"
#include "game/state.h"
#include "render/texture.h"

namespace game {

namespace {

// Depths in the orthographic space; the nearer item wins whatever the drawing order.
constexpr float kTabDepth = -60.0f;
constexpr float kPanelDepth = -50.0f;
constexpr float kControlDepth = -45.0f;
constexpr float kHelpDepth = -10.0f;

// The last unit the virtual screen draws; hit tests reach one unit further.
constexpr int kRight = 1023;
constexpr int kTop = 767;

void Quad(std::int32_t slot, const ScreenRect& r, float z) {
    render::BindTextureSlot(slot);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3d(r.x1, r.y1, z);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3d(r.x2, r.y1, z);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3d(r.x2, r.y2, z);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3d(r.x1, r.y2, z);
    glEnd();
}

std::int32_t SeatPicture(int player) {
    return rules::SeatIsComputer[player] ? game::TexComputer : game::TexHuman;
}

std::int32_t BeginsPicture(int player) {
    return rules::FirstPlayer == player ? game::TexMark : game::TexEmpty;
}

} // namespace

void DrawOverlay() {
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kRight, 0, kTop, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    // The panel is drawn one unit left of where its controls are tested.
    const int left = kRight - MenuOffset;
    const panel::Rect& tab = panel::kTab;
    Quad(game::TexMenuMark, {double(tab.x1), double(tab.y1), kRight, kTop}, kTabDepth);
    Quad(game::TexMenu, {double(left), 0, double(left + panel::kWidth), kTop}, kPanelDepth);
    Quad(SeatPicture(1), PanelRect(panel::kSeat1, left), kControlDepth);
    Quad(SeatPicture(2), PanelRect(panel::kSeat2, left), kControlDepth);
    Quad(BeginsPicture(1), PanelRect(panel::kBegins1, left), kControlDepth);
    Quad(BeginsPicture(2), PanelRect(panel::kBegins2, left), kControlDepth);
    Quad(game::TexStrength, KnobRect(left), kControlDepth);
    if (HelpShown) Quad(game::TexHelp, {0, 0, kRight, kTop}, kHelpDepth);
}

} // namespace game
