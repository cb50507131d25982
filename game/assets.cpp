#include "game/assets.h"

#include <algorithm>

#include "archive/bigfile.h"
#include "archive/workspace.h"
#include "base/memory_block.h"
#include "engine/model3ds.h"
#include "engine/store.h"
#include "render/model_lists.h"
#include "render/texture.h"
#include "rules/board_definition.h"

namespace game {

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

namespace {

std::int32_t LoadGameTexture(const char* member) {
    return render::LoadSmoothTexture(member, archive::ArchiveName);
}

} // namespace

void LoadModel(const std::string& fileName, const std::string& archiveName,
               std::uint8_t miniPolygons) {
    archive::GoExeFolder();
    base::MemoryBlock block;
    const std::int32_t size =
        archive::ReadFromBigfile(fileName, archiveName, block, engine::kMaxModelBytes);
    const std::size_t usable = std::min<std::size_t>(std::max(size, 0), block.size);
    engine::Load3DSFromMemory(block.Bytes().first(usable), fileName, miniPolygons, engine::Objects);
    base::FreeBlock(block);
}

void LoadAssets() {
    const archive::KeepDirectories directoryReadOnce;
    rules::LoadBoardDefinition(archive::ArchiveName);

    // A model is drawn by the last mesh its file adds; an emptied store leaves -1.
    LoadModel("tabla.3ds", archive::ArchiveName, 255);
    BoardObjectIndex = engine::ObjectCount() - 1;
    LoadModel("babu.3ds", archive::ArchiveName, 255);
    PieceObjectIndex = engine::ObjectCount() - 1;

    TexWood = LoadGameTexture("wood.bmp");
    TexWood2 = LoadGameTexture("wood2.bmp");
    TexHelp = LoadGameTexture("help.bmp");
    TexBackground = LoadGameTexture("backg.bmp");
    TexMenuMark = LoadGameTexture("menujel.bmp");
    TexMenu = LoadGameTexture("menu.bmp");
    TexComputer = LoadGameTexture("pc.bmp");
    TexHuman = LoadGameTexture("ember.bmp");
    TexStrength = LoadGameTexture("iq.bmp");
    TexMark = LoadGameTexture("jelol.bmp");
    TexEmpty = LoadGameTexture("ures.bmp");

    // Each list checks its index against the store as it is now: a later report may have
    // emptied it since the index was taken.
    PieceList = render::CompileModelList(PieceObjectIndex, render::kPieceLook);
    BoardList = render::CompileModelList(BoardObjectIndex, render::kBoardLook);
}

} // namespace game
