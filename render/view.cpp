#include "render/view.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "render/board_marks.h"
#include "render/state.h"

namespace render {

const std::array<float, 4> LightAmbient{0.85f, 0.85f, 0.85f, 1.0f};
const std::array<float, 4> LightDiffuse{0.15f, 0.15f, 0.15f, 1.0f};

double FieldOfViewDegrees(int width, int height) {
    constexpr double kNarrowest = 4.0 / 3.0;
    const double aspect = static_cast<double>(width) / static_cast<double>(std::max(height, 1));
    if (aspect >= kNarrowest) return kFieldOfViewDegrees;
    const double halfTan = std::tan(kFieldOfViewDegrees / 2.0 * std::numbers::pi / 180.0);
    return 2.0 * std::atan(halfTan * kNarrowest / aspect) * 180.0 / std::numbers::pi;
}

void MultPerspective(int width, int height) {
    height = std::max(height, 1);
    gluPerspective(FieldOfViewDegrees(width, height),
                   static_cast<float>(width) / static_cast<float>(height), 0.1, 1000.0);
}

void SetClearDepth(float depth) {
    state.ClearDepth = depth;
    glClearDepth(depth);
}

void ApplyLightPosition() {
    state.LightPosition = kLightDirection;
    glLightfv(GL_LIGHT1, GL_POSITION, state.LightPosition.data());
}

void SetUpGlState(int width, int height) {
    ResetRenderState();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    SetClearDepth(kClearDepth);
    glShadeModel(GL_SMOOTH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_COLOR_MATERIAL);
    MultPerspective(width, height);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    glLightfv(GL_LIGHT1, GL_AMBIENT, LightAmbient.data());
    glLightfv(GL_LIGHT1, GL_DIFFUSE, LightDiffuse.data());
    ApplyLightPosition();
    MakeShadowTexture();
}

void ResizeScene(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    state.ViewportWidth = width;
    state.ViewportHeight = height;
    MultPerspective(width, height);
    glMatrixMode(GL_MODELVIEW);
}

} // namespace render
