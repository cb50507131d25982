#include "game/frame.h"

#include "shell/window.h"

namespace game {

void UpdateFrame() {
    if (shell::Keys[27]) shell::SendCloseMessage();
}

bool PointInRect(double px, double py, double x1, double y1, double x2, double y2) {
    return x1 <= px && px <= x2 && y1 <= py && py <= y2;
}

} // namespace game
