#include "archive/assets.h"

#include <GL/gl.h>

#include "archive/model_lists.h"
#include "archive/texture.h"
#include "engine/model3ds.h"
#include "engine/store.h"
#include "game/board_definition.h"

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

namespace {

std::int32_t LoadGameTexture(const char* member) {
    return LoadTexture(member, ArchiveName, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, GL_MODULATE);
}

} // namespace

void LoadAssets() {
    game::LoadBoardDefinition(ArchiveName);

    // A model is drawn by the last mesh its file adds; an emptied store leaves -1.
    engine::Load3DS("tabla.3ds", ArchiveName, 255);
    BoardObjectIndex = engine::ObjectCount - 1;
    engine::Load3DS("babu.3ds", ArchiveName, 255);
    PieceObjectIndex = engine::ObjectCount - 1;

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
    PieceList = CompileModelList(PieceObjectIndex, kPieceLook);
    BoardList = CompileModelList(BoardObjectIndex, kBoardLook);
}

} // namespace archive
