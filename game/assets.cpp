#include "game/assets.h"

#include <algorithm>
#include <optional>

#include "archive/bigfile.h"
#include "archive/workspace.h"
#include "base/memory_block.h"
#include "engine/bmp.h"
#include "engine/model3ds.h"
#include "engine/store.h"
#include "game/asset_manifest.h"
#include "game/status_font.h"
#include "render/model_lists.h"
#include "render/text.h"
#include "rules/board_definition.h"
#include "rules/state.h"

namespace game {

namespace {

// Where the game keeps what a model or a picture loaded into: its object index or its slot.
std::int32_t* KeptIn(Asset asset) {
    switch (asset) {
    case Asset::BoardModel:
        return &state.BoardObjectIndex;
    case Asset::PieceModel:
        return &state.PieceObjectIndex;
    case Asset::BoardWood:
        return &state.TexWood;
    case Asset::PieceWood:
        return &state.TexWood2;
    case Asset::HelpPage:
        return &state.TexHelp;
    case Asset::Backdrop:
        return &state.TexBackground;
    case Asset::MenuTab:
        return &state.TexMenuMark;
    case Asset::Panel:
        return &state.TexMenu;
    case Asset::ComputerButton:
        return &state.TexComputer;
    case Asset::PersonButton:
        return &state.TexHuman;
    case Asset::StrengthKnob:
        return &state.TexStrength;
    case Asset::MarkedButton:
        return &state.TexMark;
    case Asset::EmptyButton:
        return &state.TexEmpty;
    case Asset::BoardDefinition:
        break;
    }
    return nullptr;
}

// The picture `fileName` decoded within the budget left, or nothing when it is undecodable or
// over budget. An archive member goes through Temp, where an undecodable one stays until the
// next clear-out; one too large for any picture in budget is neither read nor copied.
std::optional<engine::Picture> ReadPicture(const std::string& fileName,
                                           const std::string& archiveName) {
    const std::int64_t budget = render::PicturePixelsLeft();
    if (archiveName.empty()) {
        const auto file = archive::ReadPlainFile(
            fileName, static_cast<std::int32_t>(render::kMaxPictureFileBytes));
        return file ? engine::DecodeBmp(*file, budget) : std::nullopt;
    }
    if (archive::BigfileMemberSize(fileName, archiveName) > render::kMaxPictureFileBytes)
        return std::nullopt;
    const base::MemoryBlock bytes = archive::ExtractToTemp(
        fileName, archiveName, static_cast<std::int32_t>(render::kMaxPictureFileBytes));
    auto picture = engine::DecodeBmp(bytes.Bytes(), budget);
    if (picture) archive::DeleteFromTemp(fileName);
    return picture;
}

} // namespace

void LoadBoardDefinition(const std::string& fileName, const std::string& archiveName) {
    const base::MemoryBlock bytes =
        archive::ExtractToTemp(fileName, archiveName, rules::kMaxBoardDefinitionBytes);
    rules::UseBoardDefinition(bytes.Bytes());
    archive::DeleteFromTemp(fileName);
}

void LoadModel(const std::string& fileName, const std::string& archiveName,
               std::uint8_t miniPolygons) {
    base::MemoryBlock block;
    const std::int32_t size =
        archive::ReadFromBigfile(fileName, archiveName, block, engine::kMaxModelBytes);
    const std::size_t usable = std::min<std::size_t>(std::max(size, 0), block.size);
    engine::Load3DSFromMemory(block.Bytes().first(usable), fileName, miniPolygons);
}

std::int32_t LoadTexture(const std::string& fileName, const std::string& archiveName,
                         const render::TextureLook& look) {
    const std::int32_t slot = render::NewTextureSlot();
    const auto picture = ReadPicture(fileName, archiveName);
    if (!picture) return -1;
    render::UploadTexture(slot, *picture, look);
    return slot;
}

std::int32_t LoadSmoothTexture(const std::string& fileName, const std::string& archiveName) {
    return LoadTexture(fileName, archiveName, render::kSmoothLook);
}

void LoadAssets() {
    const archive::KeepDirectories directoryReadOnce;
    for (const ArchiveMember& member : kArchiveMembers) {
        switch (member.loader) {
        case Loader::BoardDefinition:
            LoadBoardDefinition(member.name, archive::state.ArchiveName);
            break;
        case Loader::Model:
            LoadModel(member.name, archive::state.ArchiveName, 255);
            // A model is drawn by the last mesh its file adds; an emptied store leaves -1.
            if (std::int32_t* kept = KeptIn(member.asset)) *kept = engine::ObjectCount() - 1;
            break;
        case Loader::Picture: {
            const std::int32_t slot = LoadSmoothTexture(member.name, archive::state.ArchiveName);
            if (std::int32_t* kept = KeptIn(member.asset)) *kept = slot;
            break;
        }
        }
    }

    // Each list checks its index against the store as it is now: a later report may have
    // emptied it since the index was taken.
    state.PieceList = render::CompileModelList(state.PieceObjectIndex, render::kPieceLook);
    state.BoardList = render::CompileModelList(state.BoardObjectIndex, render::kBoardLook);
    // Compiled in, so it loads whatever the archive holds.
    state.TexStatusFont = render::NewTextureSlot();
    render::UploadGlyphAtlas(state.TexStatusFont, StatusFont());
}

} // namespace game
