// koravex-assetgen OUTDIR: draws the archive's members that game/asset_manifest.h says it makes
// (the models and pictures), the splash picture and the message box's glyphs (as C++ sources),
// the status line's glyphs, the panel's layout and the desktop icons, into OUTDIR.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/asset_manifest.h"
#include "tools/assetgen/app_icon.h"
#include "tools/assetgen/backdrop.h"
#include "tools/assetgen/bmp_writer.h"
#include "tools/assetgen/board_model.h"
#include "tools/assetgen/box_font.h"
#include "tools/assetgen/help_page.h"
#include "tools/assetgen/icons.h"
#include "tools/assetgen/model_file.h"
#include "tools/assetgen/panel.h"
#include "tools/assetgen/piece_model.h"
#include "tools/assetgen/png_writer.h"
#include "tools/assetgen/splash_picture.h"
#include "tools/assetgen/status_font.h"
#include "tools/assetgen/text.h"
#include "tools/assetgen/wood.h"

namespace {

using namespace assetgen;

struct Output {
    std::filesystem::path folder;
};

// Writes through a temporary name, so an interrupted run never leaves a half file behind.
void Write(const Output& out, const std::string& name, const std::string& bytes) {
    const std::filesystem::path target = out.folder / name;
    const std::filesystem::path temporary = out.folder / (name + ".part");
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw std::runtime_error("cannot write " + temporary.string());
    }
    std::filesystem::rename(temporary, target);
}

void Write(const Output& out, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    Write(out, name, std::string(bytes.begin(), bytes.end()));
}

bool PowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

std::vector<std::uint8_t> PictureFile(const std::string& name, const Canvas& picture,
                                      bool paletted) {
    if (!PowerOfTwo(picture.width) || !PowerOfTwo(picture.height))
        throw std::logic_error(name + ": sides must be powers of two");
    return paletted ? EncodeBmp8(Quantize(picture)) : EncodeBmp32(picture);
}

// How the generator draws the member that fills a slot. The wood, the backdrop, the help page
// and the panel are paletted; the small pictures on the panel keep every colour.
struct Drawing {
    game::Slot slot;
    std::vector<std::uint8_t> (*draw)(const std::string& name, const PanelPicture& panel);
};

using game::State;
// clang-format off
const Drawing kDrawings[] = {
    {&State::BoardObjectIndex, [](const std::string&, const PanelPicture&) {
        return ModelFile(BuildBoard(), "Board", "Wood", Hex(0xC8915A)); }},
    {&State::PieceObjectIndex, [](const std::string&, const PanelPicture&) {
        return ModelFile(BuildPiece(), "Piece", "Boxwood", Hex(0xF0DDB8)); }},
    {&State::TexWood,       [](const std::string& n, const PanelPicture&) { return PictureFile(n, BoardWood(1024), true); }},
    {&State::TexWood2,      [](const std::string& n, const PanelPicture&) { return PictureFile(n, PieceWood(512), true); }},
    {&State::TexBackground, [](const std::string& n, const PanelPicture&) { return PictureFile(n, Backdrop(1024), true); }},
    {&State::TexHelp,       [](const std::string& n, const PanelPicture&) { return PictureFile(n, HelpPage(), true); }},
    {&State::TexMenu,       [](const std::string& n, const PanelPicture& p) { return PictureFile(n, p.picture, true); }},
    {&State::TexMenuMark,   [](const std::string& n, const PanelPicture&) { return PictureFile(n, MenuTab(), false); }},
    {&State::TexComputer,   [](const std::string& n, const PanelPicture&) { return PictureFile(n, ComputerButton(), false); }},
    {&State::TexHuman,      [](const std::string& n, const PanelPicture&) { return PictureFile(n, PersonButton(), false); }},
    {&State::TexStrength,   [](const std::string& n, const PanelPicture&) { return PictureFile(n, StrengthKnob(), false); }},
    {&State::TexMark,       [](const std::string& n, const PanelPicture&) { return PictureFile(n, MarkedButton(), false); }},
    {&State::TexEmpty,      [](const std::string& n, const PanelPicture&) { return PictureFile(n, EmptyButton(), false); }},
};
// clang-format on

// The bytes of a member the generator draws.
std::vector<std::uint8_t> MemberFile(const game::ArchiveMember& member, const PanelPicture& panel) {
    const std::string name = member.name;
    for (const Drawing& drawing : kDrawings)
        if (member.slot && drawing.slot == member.slot) return drawing.draw(name, panel);
    throw std::logic_error(name + ": the manifest says the generator makes it, but it can't");
}

void Generate(const Output& out) {
    const PanelPicture panel = Panel();
    for (const game::ArchiveMember& member : game::kArchiveMembers)
        if (member.maker == game::Maker::Assetgen)
            Write(out, member.name, MemberFile(member, panel));
    Write(out, "panel_layout.txt", LayoutText(panel.layout));

    Write(out, "splash_picture.cpp", SplashSource(SplashPicture()));
    Write(out, "box_font.cpp", BoxFontSource());
    Write(out, "status_font.cpp", StatusFontSource(BuildStatusAtlas()));

    for (const AppIconFile& icon : AppIcons())
        Write(out, "icon-" + std::to_string(icon.size) + ".png", EncodePng(icon.picture));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: koravex-assetgen OUTDIR\n");
        return 2;
    }
    try {
        Output out{argv[1]};
        std::filesystem::create_directories(out.folder);
        const TextLibrary text;
        Generate(out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "koravex-assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
