#include "game/random.h"

namespace game {

std::int32_t Random(std::int32_t) { return 0; }
void SeedRandom(std::uint64_t) {}
void SeedRandomFromClock() {}

} // namespace game
