// The members of the game's archive, in the order they are packed and loaded: the one list that
// the asset generator draws from, the build packs from (cmake/asset_manifest.cmake) and the game
// loads from (game/assets.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "game/state.h"

namespace game {

// The build tool that writes a member: koravex-squares or koravex-assetgen.
enum class Maker { Squares, Assetgen };

// What the game hands a member's bytes to.
enum class Loader { BoardDefinition, Model, Picture };

// Where the game keeps what a model or a picture loaded into: its object index or texture slot.
using Slot = std::int32_t State::*;

struct ArchiveMember {
    const char* name; // the name inside the archive, and of the generated file
    Slot slot;        // none for the board definition, which fills rules::state.SquareTable
    Maker maker;
    Loader loader;
};

// The build reads these lines with a pattern: keep one member a line, name first.
// clang-format off
inline constexpr ArchiveMember kArchiveMembers[] = {
    {"negyzetek.dat", nullptr,                   Maker::Squares,   Loader::BoardDefinition},
    {"tabla.3ds",     &State::BoardObjectIndex,  Maker::Assetgen,  Loader::Model},
    {"babu.3ds",      &State::PieceObjectIndex,  Maker::Assetgen,  Loader::Model},
    {"wood.bmp",      &State::TexWood,           Maker::Assetgen,  Loader::Picture},
    {"wood2.bmp",     &State::TexWood2,          Maker::Assetgen,  Loader::Picture},
    {"help.bmp",      &State::TexHelp,           Maker::Assetgen,  Loader::Picture},
    {"backg.bmp",     &State::TexBackground,     Maker::Assetgen,  Loader::Picture},
    {"menujel.bmp",   &State::TexMenuMark,       Maker::Assetgen,  Loader::Picture},
    {"menu.bmp",      &State::TexMenu,           Maker::Assetgen,  Loader::Picture},
    {"pc.bmp",        &State::TexComputer,       Maker::Assetgen,  Loader::Picture},
    {"ember.bmp",     &State::TexHuman,          Maker::Assetgen,  Loader::Picture},
    {"iq.bmp",        &State::TexStrength,       Maker::Assetgen,  Loader::Picture},
    {"jelol.bmp",     &State::TexMark,           Maker::Assetgen,  Loader::Picture},
    {"ures.bmp",      &State::TexEmpty,          Maker::Assetgen,  Loader::Picture},
};
// clang-format on

// Each slot is filled by one member, and every model and picture fills one: a second member
// would overwrite the first one's slot, and a member without one would load for nothing.
constexpr bool EachSlotOnce() {
    for (std::size_t i = 0; i < std::size(kArchiveMembers); ++i) {
        const ArchiveMember& member = kArchiveMembers[i];
        if ((member.slot == nullptr) != (member.loader == Loader::BoardDefinition)) return false;
        for (std::size_t j = 0; j < i; ++j)
            if (member.slot && kArchiveMembers[j].slot == member.slot) return false;
    }
    return true;
}
static_assert(EachSlotOnce());

} // namespace game
