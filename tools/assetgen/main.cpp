// koravex-assetgen OUTDIR: draws the game's two models, its eleven pictures, the splash
// picture and the message box's glyphs (as C++ sources), the panel's layout and the desktop
// icons, into OUTDIR.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

void Picture(const Output& out, const std::string& name, const Canvas& picture, bool paletted) {
    if (!PowerOfTwo(picture.width) || !PowerOfTwo(picture.height))
        throw std::logic_error(name + ": sides must be powers of two");
    Write(out, name, paletted ? EncodeBmp8(Quantize(picture)) : EncodeBmp32(picture));
}

void Generate(const Output& out) {
    Write(out, "tabla.3ds", ModelFile(BuildBoard(), "Board", "Wood", Hex(0xC8915A)));
    Write(out, "babu.3ds", ModelFile(BuildPiece(), "Piece", "Boxwood", Hex(0xF0DDB8)));

    Picture(out, "wood.bmp", BoardWood(1024), true);
    Picture(out, "wood2.bmp", PieceWood(512), true);
    Picture(out, "backg.bmp", Backdrop(1024), true);
    Picture(out, "help.bmp", HelpPage(), true);

    const PanelPicture panel = Panel();
    Picture(out, "menu.bmp", panel.picture, false);
    Write(out, "panel_layout.txt", LayoutText(panel.layout));
    Picture(out, "menujel.bmp", MenuTab(), false);
    Picture(out, "pc.bmp", ComputerButton(), false);
    Picture(out, "ember.bmp", PersonButton(), false);
    Picture(out, "iq.bmp", StrengthKnob(), false);
    Picture(out, "jelol.bmp", MarkedButton(), false);
    Picture(out, "ures.bmp", EmptyButton(), false);

    Write(out, "splash_picture.cpp", SplashSource(SplashPicture()));
    Write(out, "box_font.cpp", BoxFontSource());

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
