// The game's assets: board definition, two models, eleven pictures, two display lists, loaded
// from the archive's bytes into game::state (game/state.h). The one place that reads
// members for the game.
#pragma once

#include <cstdint>
#include <string>

#include "archive/workspace.h"
#include "game/state.h"
#include "render/texture.h"

namespace game {

inline constexpr const char* kArchiveName = archive::kArchiveName;

// Each loader below reads the member `fileName` of `archiveName` (the file of that name beside
// the program when the archive name is empty) and hands its bytes to the parser. Archive
// failures pass through as base::IoFailure.

// Fills rules::state.SquareTable from the board definition, copied into Temp on the way and deleted
// from there once it is read. SquareTable is left as it was when loading fails.
void LoadBoardDefinition(const std::string& fileName, const std::string& archiveName);

// Appends the meshes of a model to engine::state.Objects.
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
