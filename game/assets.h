// The game's assets: board definition, two models, eleven pictures, two display lists.
#pragma once

#include <cstdint>
#include <string>

namespace game {

inline constexpr const char* kArchiveName = "adatok.vbf";

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

// Reads the model member `fileName` of `archiveName` (a plain file beside the program when the
// archive name is empty) and appends its meshes to engine::Objects. Archive failures pass
// through as base::IoFailure.
void LoadModel(const std::string& fileName, const std::string& archiveName,
               std::uint8_t miniPolygons);

// Loads everything from the archive in the program's folder; needs a current GL context.
void LoadAssets();

} // namespace game
