// The members of the game's archive, in the order they are packed and loaded: the one list that
// the asset generator draws from, the build packs from (cmake/asset_manifest.cmake) and the game
// loads from (game/assets.cpp).
#pragma once

namespace game {

// What a member is: the generator draws by it, the game keeps what it loads by it.
enum class Asset {
    BoardDefinition,
    BoardModel,
    PieceModel,
    BoardWood,
    PieceWood,
    HelpPage,
    Backdrop,
    MenuTab,
    Panel,
    ComputerButton,
    PersonButton,
    StrengthKnob,
    MarkedButton,
    EmptyButton,
};

// The build tool that writes a member: koravex-squares or koravex-assetgen.
enum class Maker { Squares, Assetgen };

// What the game hands a member's bytes to.
enum class Loader { BoardDefinition, Model, Picture };

struct ArchiveMember {
    const char* name; // the name inside the archive, and of the generated file
    Asset asset;
    Maker maker;
    Loader loader;
};

// The build reads these lines with a pattern: keep one member a line, name first.
// clang-format off
inline constexpr ArchiveMember kArchiveMembers[] = {
    {"negyzetek.dat", Asset::BoardDefinition, Maker::Squares,  Loader::BoardDefinition},
    {"tabla.3ds",     Asset::BoardModel,      Maker::Assetgen, Loader::Model},
    {"babu.3ds",      Asset::PieceModel,      Maker::Assetgen, Loader::Model},
    {"wood.bmp",      Asset::BoardWood,       Maker::Assetgen, Loader::Picture},
    {"wood2.bmp",     Asset::PieceWood,       Maker::Assetgen, Loader::Picture},
    {"help.bmp",      Asset::HelpPage,        Maker::Assetgen, Loader::Picture},
    {"backg.bmp",     Asset::Backdrop,        Maker::Assetgen, Loader::Picture},
    {"menujel.bmp",   Asset::MenuTab,         Maker::Assetgen, Loader::Picture},
    {"menu.bmp",      Asset::Panel,           Maker::Assetgen, Loader::Picture},
    {"pc.bmp",        Asset::ComputerButton,  Maker::Assetgen, Loader::Picture},
    {"ember.bmp",     Asset::PersonButton,    Maker::Assetgen, Loader::Picture},
    {"iq.bmp",        Asset::StrengthKnob,    Maker::Assetgen, Loader::Picture},
    {"jelol.bmp",     Asset::MarkedButton,    Maker::Assetgen, Loader::Picture},
    {"ures.bmp",      Asset::EmptyButton,     Maker::Assetgen, Loader::Picture},
};
// clang-format on

// Each asset is one member: the game would keep a second copy's slot, or none for a missing one.
constexpr bool EachAssetOnce() {
    int seen = 0;
    for (const ArchiveMember& member : kArchiveMembers) {
        const int bit = 1 << static_cast<int>(member.asset);
        if (seen & bit) return false;
        seen |= bit;
    }
    return seen == (1 << (static_cast<int>(Asset::EmptyButton) + 1)) - 1;
}
static_assert(EachAssetOnce());

} // namespace game
