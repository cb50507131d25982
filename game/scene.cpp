#include "game/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "archive/assets.h"
#include "archive/texture.h"
#include "engine/geometry.h"
#include "game/overlay.h"
#include "game/state.h"
#include "shell/window.h"

namespace game {

namespace {

constexpr float kModelScale = 0.1f;
constexpr float kLight = 0.6f; // player 1's grey
constexpr float kDark = 0.25f; // player 2's grey
constexpr float kFallHeight = 2.0f;
constexpr float kRadiansPerDegree = std::numbers::pi_v<float> / 180.0f;

float PlayerGrey() {
    return CurrentPlayer == 1 ? kLight : kDark;
}

void SetPerspective() {
    const float aspect = static_cast<float>(shell::ViewportWidth) /
                         static_cast<float>(std::max(shell::ViewportHeight, 1));
    gluPerspective(45.0, aspect, 0.1, 1000.0);
}

// The camera and the cell's place on the board, scaled to model units.
void CellTransform(int i, int j, float lift) {
    ApplySceneCamera();
    glTranslatef(CellOffset(i), 0.0f, lift);
    glTranslatef(0.0f, CellOffset(j), 0.0f);
    glScalef(kModelScale, kModelScale, kModelScale);
}

void DrawBackdrop() {
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    archive::BindTextureSlot(archive::TexBackground);
    glColor4f(0.3f, 0.3f, 0.3f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-50.0f, -50.0f, -50.0f);
    glTexCoord2f(2.0f, 0.0f);
    glVertex3f(50.0f, -50.0f, -50.0f);
    glTexCoord2f(2.0f, 2.0f);
    glVertex3f(50.0f, 50.0f, -50.0f);
    glTexCoord2f(0.0f, 2.0f);
    glVertex3f(-50.0f, 50.0f, -50.0f);
    glEnd();
}

void DrawBoard() {
    archive::BindTextureSlot(archive::TexWood);
    ApplySceneCamera();
    glScalef(kModelScale, kModelScale, kModelScale);
    glCallList(archive::BoardList);
}

// Sets the colour of a piece of the given cell value; false for an empty cell.
bool SetPieceColour(std::uint8_t value) {
    const float pulse = static_cast<float>(Pulse);
    switch (value) {
    case 1:
        glColor4f(kLight, kLight, kLight, 1.0f);
        return true;
    case 2:
        glColor4f(kDark, kDark, kDark, 1.0f);
        return true;
    case 3:
        glColor4f(kLight + pulse / 2500, kLight - pulse / 3000, kLight - pulse / 3000, 1.0f);
        return true;
    case 4:
        glColor4f(kDark + pulse / 1333, kDark, kDark, 1.0f);
        return true;
    default:
        return false;
    }
}

// Board index k, counted from the side of the board nearer the eye when `fromHigh`.
int Nearer(int k, bool fromHigh) {
    return fromHigh ? 7 - k : k;
}

// Near pieces first: the depth test then keeps the pieces behind from shading what the near
// ones hide.
void DrawPieces() {
    archive::BindTextureSlot(archive::TexWood2);
    // How much nearer the eye a step along i and along j brings a point of the board plane.
    const float tilt = CameraTilt * kRadiansPerDegree, turn = CameraTurn * kRadiansPerDegree;
    const bool iFromHigh = std::sin(tilt) * std::sin(turn) > 0.0f;
    const bool jFromHigh = std::sin(tilt) * std::cos(turn) > 0.0f;
    for (int a = 1; a <= 6; ++a) {
        const int i = Nearer(a, iFromHigh);
        ApplySceneCamera();
        glTranslatef(CellOffset(i), 0.0f, 0.0f);
        for (int b = 1; b <= 6; ++b) {
            const int j = Nearer(b, jFromHigh);
            if (!SetPieceColour(BoardAt(i, j))) continue;
            glPushMatrix();
            glTranslatef(0.0f, CellOffset(j), 0.0f);
            glScalef(kModelScale, kModelScale, kModelScale);
            glCallList(archive::PieceList);
            glPopMatrix();
        }
    }
}

void DrawTranslucentPiece(Cell cell, float lift, float alpha) {
    archive::BindTextureSlot(archive::TexWood2);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const float grey = PlayerGrey();
    glColor4f(grey, grey, grey, alpha);
    CellTransform(cell.i, cell.j, lift);
    glCallList(archive::PieceList);
    glDisable(GL_BLEND);
}

void RestorePerspective() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    SetPerspective();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
}

} // namespace

float CellOffset(int k) {
    return (9.0f * static_cast<float>(k) - 31.5f) / 10.0f;
}

void ApplySceneCamera() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -10.0f);
    glRotatef(CameraTilt, 1.0f, 0.0f, 0.0f);
    glRotatef(CameraTurn, 0.0f, 0.0f, 1.0f);
}

void DrawScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The overlay lies in front of the whole scene, whatever the order: drawn first, it
    // keeps the scene from filling the pixels it covers.
    DrawOverlay();
    RestorePerspective();
    glEnable(GL_TEXTURE_2D);
    // Given after the camera so the light turns with the board.
    ApplySceneCamera();
    shell::ApplyLightPosition();
    // The pieces and the board are closed and opaque: their far sides never show. The pieces
    // go first, so that the board does not shade what they cover.
    glEnable(GL_CULL_FACE);
    DrawPieces();
    DrawBoard();
    glDisable(GL_CULL_FACE);
    // The backdrop lies behind everything: drawn after the opaque scene, it fills only the
    // pixels left free, and the translucent pieces still blend over it.
    DrawBackdrop();
    glEnable(GL_LIGHTING);
    // The preview and the falling piece never show together.
    if (HoverCell.i != -1 && MoveDelay == 0) DrawTranslucentPiece(HoverCell, 0.0f, 0.5f);
    if (MoveDelay > 0) {
        const float left = static_cast<float>(MoveDelay) / kMoveDelayMs;
        DrawTranslucentPiece(PendingCell, kFallHeight * left, 1.0f - left);
    }
    glLoadIdentity();
}

WindowPoint ProjectCellPoint(int i, int j, const engine::TVector3& point) {
    CellTransform(i, j, 0.0f);
    WindowPoint w;
    engine::ProjectToWindow(point, w.x, w.y, w.z);
    return w;
}

} // namespace game
