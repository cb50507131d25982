#include "render/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "render/board_marks.h"
#include "render/overlay.h"
#include "render/texture.h"
#include "render/view.h"
#include "rules/rules.h"

namespace render {

namespace {

constexpr float kLight = 0.6f; // player 1's grey
constexpr float kDark = 0.25f; // player 2's grey
constexpr float kFallHeight = 2.0f;
constexpr float kRadiansPerDegree = std::numbers::pi_v<float> / 180.0f;

float PlayerGrey(const FrameView& view) {
    return view.currentPlayer == 1 ? kLight : kDark;
}

// The camera and the cell's place on the board, scaled to model units.
void CellTransform(const Camera& camera, int i, int j, float lift) {
    ApplySceneCamera(camera);
    glTranslatef(CellOffset(i), 0.0f, lift);
    glTranslatef(0.0f, CellOffset(j), 0.0f);
    glScalef(kModelScale, kModelScale, kModelScale);
}

// The backdrop: a square facing the eye, its picture repeated twice each way.
constexpr float kBackdropDistance = 50.0f;
constexpr float kBackdropHalfSide = 50.0f;
constexpr float kBackdropRepeats = 2.0f;

// Texels of the backdrop's picture per screen pixel. The square faces the eye, so the scale
// is the same at every pixel; pixels are square, so the larger side of the picture decides.
double BackdropTexelsPerPixel() {
    const auto [width, height] = BoundTextureSize();
    const double texelsPerUnit =
        std::max(width, height) * kBackdropRepeats / (2.0 * kBackdropHalfSide);
    const double unitsPerPixel =
        2.0 * kBackdropDistance *
        std::tan(FieldOfViewDegrees(state.ViewportWidth, state.ViewportHeight) / 2.0 *
                 std::numbers::pi / 180.0) /
        std::max(state.ViewportHeight, 1);
    return texelsPerUnit * unitsPerPixel;
}

void DrawBackdrop(const FrameView& view) {
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    BindTextureSlot(view.backgroundTexture);
    SampleBoundSmoothTexture(BackdropTexelsPerPixel());
    glColor4f(0.3f, 0.3f, 0.3f, 1.0f);
    constexpr float d = kBackdropDistance, h = kBackdropHalfSide, r = kBackdropRepeats;
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-h, -h, -d);
    glTexCoord2f(r, 0.0f);
    glVertex3f(h, -h, -d);
    glTexCoord2f(r, r);
    glVertex3f(h, h, -d);
    glTexCoord2f(0.0f, r);
    glVertex3f(-h, h, -d);
    glEnd();
}

void DrawBoard(const FrameView& view) {
    BindTextureSlot(view.boardTexture);
    // The board shows its wood a little smaller than the base level, where blending two levels
    // would double the board's cost for no difference a player sees.
    SampleBoundTextureFromNearestLevel();
    ApplySceneCamera(view.camera);
    glScalef(kModelScale, kModelScale, kModelScale);
    glCallList(view.boardList);
}

// The won square's pieces glow from their own grey to red and back. At the glow's peak each
// keeps much of its grey's lightness (luminance 0.46 and 0.17 against the greys' 0.6 and 0.25),
// so the winner's shade still shows: light pieces turn a light red, dark ones a deep red.
constexpr std::array<float, 3> kLightGlow{1.0f, 0.32f, 0.32f};
constexpr std::array<float, 3> kDarkGlow{0.55f, 0.07f, 0.07f};

void SetGlowColour(float grey, const std::array<float, 3>& peak, float pulse) {
    const float t = pulse / 1000.0f;
    glColor4f(grey + (peak[0] - grey) * t, grey + (peak[1] - grey) * t, grey + (peak[2] - grey) * t,
              1.0f);
}

// Sets the colour of a piece of the given cell value; false for an empty cell.
bool SetPieceColour(std::uint8_t value, std::int32_t pulsePhase) {
    const float pulse = static_cast<float>(pulsePhase);
    switch (value) {
    case 1:
        glColor4f(kLight, kLight, kLight, 1.0f);
        return true;
    case 2:
        glColor4f(kDark, kDark, kDark, 1.0f);
        return true;
    case 3:
        SetGlowColour(kLight, kLightGlow, pulse);
        return true;
    case 4:
        SetGlowColour(kDark, kDarkGlow, pulse);
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
void DrawPieces(const FrameView& view) {
    BindTextureSlot(view.pieceTexture);
    SampleBoundTextureFromNearestLevel();
    // How much nearer the eye a step along i and along j brings a point of the board plane.
    const float tilt = view.camera.tilt * kRadiansPerDegree;
    const float turn = view.camera.turn * kRadiansPerDegree;
    const bool iFromHigh = std::sin(tilt) * std::sin(turn) > 0.0f;
    const bool jFromHigh = std::sin(tilt) * std::cos(turn) > 0.0f;
    for (int a = 1; a <= 6; ++a) {
        const int i = Nearer(a, iFromHigh);
        ApplySceneCamera(view.camera);
        glTranslatef(CellOffset(i), 0.0f, 0.0f);
        for (int b = 1; b <= 6; ++b) {
            const int j = Nearer(b, jFromHigh);
            if (!SetPieceColour(view.board[(i - 1) * 6 + (j - 1)], view.pulse)) continue;
            glPushMatrix();
            glTranslatef(0.0f, CellOffset(j), 0.0f);
            glScalef(kModelScale, kModelScale, kModelScale);
            glCallList(view.pieceList);
            glPopMatrix();
        }
    }
}

// Only the surface nearest the eye is blended, once: the piece's depth goes in first, alone,
// so that its far side and its insides fail the depth test in the blended pass.
void DrawTranslucentPiece(const FrameView& view, rules::Cell cell, float lift, float alpha) {
    CellTransform(view.camera, cell.i, cell.j, lift);
    glEnable(GL_CULL_FACE);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glCallList(view.pieceList);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    BindTextureSlot(view.pieceTexture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const float grey = PlayerGrey(view);
    glColor4f(grey, grey, grey, alpha);
    glDepthFunc(GL_LEQUAL);
    glCallList(view.pieceList);
    glDepthFunc(GL_LESS);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
}

// Over a standing piece the preview would lie in that piece's own surface, where it has never
// shown: it is left out there.
bool PreviewShown(const FrameView& view) {
    if (view.hover.i == -1 || view.moveDelay != 0) return false;
    const int cell = rules::CellIndex(view.hover.i, view.hover.j);
    return cell < 0 || view.board[static_cast<std::size_t>(cell)] == rules::kEmpty;
}

// The keyboard cursor's cell: a light band between dark ones, so that it shows on the wood
// and round light, dark and glowing pieces alike. It lies just above the board, so a piece on
// the cell hides only the part behind it.
constexpr float kFocusLift = 0.5f; // model units above the board's face

// A square ring round the cell's centre between two half-sides, in model units.
void SquareRing(float outer, float inner) {
    constexpr float corners[5][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}};
    glBegin(GL_QUAD_STRIP);
    for (const auto& [x, y] : corners) {
        glVertex3f(outer * x, outer * y, kFocusLift);
        glVertex3f(inner * x, inner * y, kFocusLift);
    }
    glEnd();
}

void DrawFocus(const FrameView& view) {
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    CellTransform(view.camera, view.focus.i, view.focus.j, 0.0f);
    glColor4f(0.05f, 0.05f, 0.05f, 1.0f);
    SquareRing(4.45f, 3.45f);
    // Drawn over the dark band: lifted a hair, so that the depth test lets it through.
    glTranslatef(0.0f, 0.0f, 0.05f);
    glColor4f(1.0f, 0.85f, 0.1f, 1.0f);
    SquareRing(4.15f, 3.75f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
}

void RestorePerspective() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    MultPerspective(state.ViewportWidth, state.ViewportHeight);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
}

} // namespace

void DrawScene(const FrameView& view) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The overlay lies in front of the whole scene, whatever the order: drawn first, it
    // keeps the scene from filling the pixels it covers.
    DrawOverlay(view);
    RestorePerspective();
    glEnable(GL_TEXTURE_2D);
    // Given after the camera so the light turns with the board.
    ApplySceneCamera(view.camera);
    ApplyLightPosition();
    // The pieces and the board are closed and opaque: their far sides never show. The pieces
    // go first, so that the board does not shade what they cover, and so does the last move's
    // ring, which lies on the board.
    glEnable(GL_CULL_FACE);
    DrawPieces(view);
    DrawLastMoveRing(view);
    DrawBoard(view);
    glDisable(GL_CULL_FACE);
    // The shadows blend over the board; the pieces, the ring and the overlay in front of them
    // keep them out of what they cover.
    DrawContactShadows(view);
    // The backdrop lies behind everything: drawn after the opaque scene, it fills only the
    // pixels left free, and the translucent pieces still blend over it.
    DrawBackdrop(view);
    glEnable(GL_LIGHTING);
    // The preview and the falling piece never show together.
    if (PreviewShown(view)) DrawTranslucentPiece(view, view.hover, 0.0f, 0.5f);
    if (view.moveDelay > 0) {
        const float left = static_cast<float>(view.moveDelay) / rules::kMoveDelayMs;
        DrawTranslucentPiece(view, view.pending, kFallHeight * left, 1.0f - left);
    }
    if (view.focus.i != -1) DrawFocus(view);
    glLoadIdentity();
}

} // namespace render
