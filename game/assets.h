// The game's assets: board definition, two models, eleven pictures, two display lists, loaded
// from the archive's bytes. The one place that reads members for the game.
#pragma once

#include <cstdint>
#include <string>

#include "archive/workspace.h"
#include "render/texture.h"

namespace game {

inline constexpr const char* kArchiveName = archive::kArchiveName;

extern std::int32_t BoardObjectIndex; // the board mesh in engine::Objects
extern std::int32_t PieceObjectIndex; // the piece mesh in engine::Objects
extern std::uint32_t BoardList;       // display list of the board
extern std::uint32_t PieceList;       // display list of a piece

// Texture slots (-1 when the picture did not load).
extern std::int32_t TexWood;       // the board's surface
extern std::int32_t TexWood2;      // the pieces' surface
extern std::int32_t TexHelp;       // the help page
extern std::int32_t TexBackground; // the backdrop
extern std::int32_t TexMenuMark;   // the menu tab
extern std::int32_t TexMenu;       // the panel
extern std::int32_t TexComputer;   // seat button: computer
extern std::int32_t TexHuman;      // seat button: person
extern std::int32_t TexStrength;   // the strength knob
extern std::int32_t TexMark;       // marked first-player button
extern std::int32_t TexEmpty;      // unmarked first-player button

// Each loader below reads the member `fileName` of `archiveName` (the file of that name beside
// the program when the archive name is empty) and hands its bytes to the parser. Archive
// failures pass through as base::IoFailure.

// Fills rules::SquareTable from the board definition, copied into Temp on the way and deleted
// from there once it is read. SquareTable is left as it was when loading fails.
void LoadBoardDefinition(const std::string& fileName, const std::string& archiveName);

// Appends the meshes of a model to engine::Objects.
void LoadModel(const std::string& fileName, const std::string& archiveName,
               std::uint8_t miniPolygons);

// Takes the next texture slot, whether or not the picture decodes, and returns it, or -1 when
// the picture is undecodable or over budget (render::PicturePixelsLeft). An archive's picture
// is copied into Temp, decoded from the bytes read out of the archive, and deleted from Temp
// once it decodes. Needs a current GL context.
std::int32_t LoadTexture(const std::string& fileName, const std::string& archiveName,
                         const render::TextureLook& look);
// LoadTexture with the look of every picture of the game.
std::int32_t LoadSmoothTexture(const std::string& fileName, const std::string& archiveName);

// Loads every member of game/asset_manifest.h, in its order, from the archive the workspace
// set-up found; needs a current GL context.
void LoadAssets();

} // namespace game
