// The per-frame update: time, pointer, keys, panel, camera, picking and turn flow.
#pragma once

namespace game {

void UpdateFrame();

} // namespace game
