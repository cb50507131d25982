#include "archive/assets.h"

namespace archive {

std::int32_t BoardObjectIndex = -1;
std::int32_t PieceObjectIndex = -1;
std::uint32_t BoardList = 0;
std::uint32_t PieceList = 0;
std::int32_t TexWood = -1;
std::int32_t TexWood2 = -1;
std::int32_t TexHelp = -1;
std::int32_t TexBackground = -1;
std::int32_t TexMenuMark = -1;
std::int32_t TexMenu = -1;
std::int32_t TexComputer = -1;
std::int32_t TexHuman = -1;
std::int32_t TexStrength = -1;
std::int32_t TexMark = -1;
std::int32_t TexEmpty = -1;

void LoadAssets() {}

} // namespace archive
