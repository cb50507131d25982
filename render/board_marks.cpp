#include "render/board_marks.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "render/scene_camera.h"
#include "rules/rules.h"

namespace render {

namespace {

// In model units from the piece's axis. The shadow is darkest where the foot meets the board
// (its bead reaches r = 3.5 just above the face) and fades out a little past the cell's 4.5,
// where a neighbour's has all but faded too; every pixel of its fringe is blended each frame,
// so it reaches no farther than it shows. The disc inside the foot is left out: the piece always
// hides it, and the hollow under it.
constexpr float kShadowDarkest = 0.65f;
constexpr float kShadowFadeFrom = 3.45f;
constexpr float kShadowReach = 4.4f;
constexpr float kShadowInner = 3.45f;
constexpr float kShadowHalf = 4.6f; // the picture's half side; its polygon's corners lie on it
constexpr int kShadowSides = 12;    // 4.6 * cos(15 degrees) still clears kShadowReach
constexpr int kShadowPicture = 64;  // texels a side; drawn magnified, filtered linearly
// A hair above the face, so the depth test never mixes the two; far less than a pixel's shift.
constexpr float kShadowLift = 0.1f;

// The ring: a light band between dark ones, like the keyboard cursor's outline but round and
// of another colour, just outside the foot (3.6) and below the outline's 0.5, which thus stays
// on top where the two cross.
constexpr int kRingSides = 32; // within a third of a pixel of a circle where a piece shows largest
constexpr float kRingLift = 0.3f;
constexpr float kRingDarkInner = 3.7f, kRingDarkOuter = 4.45f;
constexpr float kRingLightInner = 3.9f, kRingLightOuter = 4.25f;
constexpr std::array<float, 3> kRingDark{0.05f, 0.05f, 0.05f};
constexpr std::array<float, 3> kRingLight{0.55f, 0.9f, 1.0f};

// Cosine and sine of N + 1 steps round a circle, the first repeated at the end.
template <int N> const std::array<std::array<float, 2>, N + 1>& Circle() {
    static const auto table = [] {
        std::array<std::array<float, 2>, N + 1> t{};
        for (int k = 0; k <= N; ++k) {
            const float a = 2.0f * std::numbers::pi_v<float> * static_cast<float>(k % N) / N;
            t[static_cast<std::size_t>(k)] = {std::cos(a), std::sin(a)};
        }
        return t;
    }();
    return table;
}

float ShadowAlpha(float r) {
    if (r <= kShadowFadeFrom) return kShadowDarkest;
    if (r >= kShadowReach) return 0.0f;
    const float s = (r - kShadowFadeFrom) / (kShadowReach - kShadowFadeFrom);
    return kShadowDarkest * (1.0f - s) * (1.0f - s);
}

// Model units, the board's centre at the origin.
float CellCentre(int k) {
    return CellOffset(k) / kModelScale;
}

void BoardSpace(const Camera& camera) {
    ApplySceneCamera(camera);
    glScalef(kModelScale, kModelScale, kModelScale);
}

// Counter-clockwise seen from above, so it is a front face; `lift` above the board's face, which
// it follows where a cell at the side reaches over the rounded edge.
void Annulus(float cx, float cy, float inner, float outer, float lift) {
    glBegin(GL_QUAD_STRIP);
    for (const auto& [c, s] : Circle<kRingSides>()) {
        for (const float r : {inner, outer}) {
            const float x = cx + r * c, y = cy + r * s;
            glVertex3f(x, y, lift + BoardFaceHeight(x, y));
        }
    }
    glEnd();
}

// A corner of a shadow's polygon, moved onto the flat face where it would reach over the edge;
// the picture follows it, so the shadow is cut off there, not squeezed.
void ShadowCorner(float cx, float cy, float x, float y) {
    const float px = std::clamp(cx + x, -kBoardFieldHalf, kBoardFieldHalf);
    const float py = std::clamp(cy + y, -kBoardFieldHalf, kBoardFieldHalf);
    glTexCoord2f(0.5f + (px - cx) / (2.0f * kShadowHalf), 0.5f + (py - cy) / (2.0f * kShadowHalf));
    glVertex3f(px, py, kShadowLift);
}

// The shadow's annulus as quads, into the batch begun by the caller.
void ShadowQuads(float cx, float cy) {
    const auto& circle = Circle<kShadowSides>();
    for (std::size_t k = 0; k < kShadowSides; ++k) {
        const auto [c0, s0] = circle[k];
        const auto [c1, s1] = circle[k + 1];
        ShadowCorner(cx, cy, kShadowInner * c0, kShadowInner * s0);
        ShadowCorner(cx, cy, kShadowHalf * c0, kShadowHalf * s0);
        ShadowCorner(cx, cy, kShadowHalf * c1, kShadowHalf * s1);
        ShadowCorner(cx, cy, kShadowInner * c1, kShadowInner * s1);
    }
}

} // namespace

float BoardFaceHeight(float x, float y) {
    const float beyond = std::max(std::abs(x), std::abs(y)) - kBoardFieldHalf;
    if (beyond <= 0.0f) return 0.0f;
    const float d = std::min(beyond, kBoardEdgeRadius);
    return std::sqrt(kBoardEdgeRadius * kBoardEdgeRadius - d * d) - kBoardEdgeRadius;
}

void MakeShadowTexture() {
    std::array<std::uint8_t, kShadowPicture * kShadowPicture> alpha{};
    for (int y = 0; y < kShadowPicture; ++y) {
        for (int x = 0; x < kShadowPicture; ++x) {
            const auto toModel = [](int t) {
                return ((static_cast<float>(t) + 0.5f) * 2.0f / kShadowPicture - 1.0f) *
                       kShadowHalf;
            };
            const float r = std::hypot(toModel(x), toModel(y));
            alpha[static_cast<std::size_t>(y * kShadowPicture + x)] =
                static_cast<std::uint8_t>(std::lround(255.0f * ShadowAlpha(r)));
        }
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Rows of 64 bytes meet any unpacking alignment.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, kShadowPicture, kShadowPicture, 0, GL_ALPHA,
                 GL_UNSIGNED_BYTE, alpha.data());
    state.ShadowTexture = name;
}

void DrawLastMoveRing(const FrameView& view) {
    const int cell = rules::CellIndex(view.lastMove.i, view.lastMove.j);
    if (cell < 0 || view.board[static_cast<std::size_t>(cell)] == rules::kEmpty) return;
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    BoardSpace(view.camera);
    const float cx = CellCentre(view.lastMove.i), cy = CellCentre(view.lastMove.j);
    glColor4f(kRingDark[0], kRingDark[1], kRingDark[2], 1.0f);
    Annulus(cx, cy, kRingDarkInner, kRingDarkOuter, kRingLift);
    // Over the dark band: lifted a hair, so that the depth test lets it through.
    glColor4f(kRingLight[0], kRingLight[1], kRingLight[2], 1.0f);
    Annulus(cx, cy, kRingLightInner, kRingLightOuter, kRingLift + 0.05f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
}

void DrawContactShadows(const FrameView& view) {
    if (state.ShadowTexture == 0) return;
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, state.ShadowTexture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Overlapping shadows darken each other; none hides the other.
    glDepthMask(GL_FALSE);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    BoardSpace(view.camera);
    glBegin(GL_QUADS);
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j)
            if (view.board[static_cast<std::size_t>((i - 1) * 6 + (j - 1))] != rules::kEmpty)
                ShadowQuads(CellCentre(i), CellCentre(j));
    glEnd();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
}

} // namespace render
