// The generated pictures, decoded by the game's own BMP reader, and the archive they
// are packed into.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "archive/bigfile_directory.h"
#include "game/asset_manifest.h"
#include "look_files.h"
#include "engine/bmp.h"

namespace {

bool PowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

TEST(GeneratedPictures, DecodeWithPowerOfTwoSidesInBothBitDepths) {
    int paletted = 0, trueColour = 0;
    for (const std::string& name : kxtest::PictureNames()) {
        const std::vector<std::uint8_t> file = kxtest::ReadWholeFile(kxtest::AssetPath(name));
        const auto header = engine::CheckBmpHeader(file);
        ASSERT_TRUE(header.has_value()) << name;
        if (header->bitsPerPixel == 8) ++paletted;
        if (header->bitsPerPixel == 32) ++trueColour;
        const auto picture = engine::DecodeBmp(file);
        ASSERT_TRUE(picture.has_value()) << name;
        EXPECT_TRUE(PowerOfTwo(picture->width)) << name;
        EXPECT_TRUE(PowerOfTwo(picture->height)) << name;
        // Not a blank: a picture shows something.
        const auto [lo, hi] = std::minmax_element(picture->rgb.begin(), picture->rgb.end());
        EXPECT_GT(*hi - *lo, 40) << name;
    }
    EXPECT_GE(paletted, 2);
    EXPECT_GE(trueColour, 2);
}

TEST(GeneratedPictures, PanelAndHelpAreCloseToTheirScreenShapes) {
    const auto panel = engine::DecodeBmp(kxtest::ReadWholeFile(kxtest::AssetPath("menu.bmp")));
    const auto help = engine::DecodeBmp(kxtest::ReadWholeFile(kxtest::AssetPath("help.bmp")));
    ASSERT_TRUE(panel && help);
    // The panel covers 200 x 768 units, 562 x 2160 pixels on a screen 2160 high: 512 x 2048
    // keeps its texels almost square and hardly magnified there.
    EXPECT_EQ(panel->width, 512);
    EXPECT_EQ(panel->height, 2048);
    // The help page keeps 4:3 in the middle of the screen, 2160 pixels high at 3840 x 2160.
    EXPECT_EQ(help->width, 2048);
    EXPECT_EQ(help->height, 2048);
}

// The backdrop repeats twice each way with its corner in mid-screen: a seam there would show.
TEST(GeneratedPictures, BackdropTilesWithoutASeam) {
    const auto backdrop =
        engine::DecodeBmp(kxtest::ReadWholeFile(kxtest::AssetPath("backg.bmp")));
    ASSERT_TRUE(backdrop);
    const int w = backdrop->width, h = backdrop->height;
    const auto at = [&](int x, int y, int c) {
        return static_cast<int>(backdrop->rgb[(static_cast<std::size_t>(y) * w + x) * 3 + c]);
    };
    double seamX = 0, insideX = 0, seamY = 0, insideY = 0;
    for (int i = 0; i < std::min(w, h); ++i)
        for (int c = 0; c < 3; ++c) {
            seamX += std::abs(at(w - 1, i, c) - at(0, i, c));
            insideX += std::abs(at(w / 2, i, c) - at(w / 2 - 1, i, c));
            seamY += std::abs(at(i, h - 1, c) - at(i, 0, c));
            insideY += std::abs(at(i, h / 2, c) - at(i, h / 2 - 1, c));
        }
    EXPECT_LE(seamX, 2.0 * insideX + 3.0 * h);
    EXPECT_LE(seamY, 2.0 * insideY + 3.0 * w);
}

// The board's picture lies on the board: its hollows are where the model's are.
TEST(GeneratedPictures, BoardPictureMarksEachHollow) {
    const auto wood = engine::DecodeBmp(kxtest::ReadWholeFile(kxtest::AssetPath("wood.bmp")));
    ASSERT_TRUE(wood);
    const int n = wood->width;
    ASSERT_EQ(wood->height, n);
    // Texture coordinate s = (x + 27.5) / 55; rows run bottom to top like t.
    const auto brightness = [&](double x, double y) {
        const int px = std::clamp(static_cast<int>((x + 27.5) / 55.0 * n), 0, n - 1);
        const int py = std::clamp(static_cast<int>((y + 27.5) / 55.0 * n), 0, n - 1);
        const std::size_t at = (static_cast<std::size_t>(py) * n + px) * 3;
        return wood->rgb[at] + wood->rgb[at + 1] + wood->rgb[at + 2];
    };
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j) {
            const double cx = 9.0 * i - 31.5, cy = 9.0 * j - 31.5;
            // The cut round each hollow is drawn as a darker ring than the wood just inside it.
            int darker = 0;
            for (int a = 0; a < 16; ++a) {
                const double angle = a * 3.14159265 / 8;
                const double rx = std::cos(angle), ry = std::sin(angle);
                if (brightness(cx + 2.6 * rx, cy + 2.6 * ry) <
                    brightness(cx + 2.2 * rx, cy + 2.2 * ry))
                    ++darker;
            }
            EXPECT_GE(darker, 12) << "cell " << i << "," << j;
        }
}

TEST(Archive, HoldsExactlyTheFourteenMembersAsGenerated) {
    const std::vector<std::uint8_t> archive =
        kxtest::ReadWholeFile(std::string(KX_BINARY_DIR) + "/adatok.vbf");
    const archive::BigfileDirectory directory = archive::ReadBigfileDirectory(archive);
    ASSERT_EQ(directory.status, archive::DirectoryStatus::Ok);
    std::vector<std::string> expected = kxtest::PictureNames();
    expected.insert(expected.end(), {"negyzetek.dat", "tabla.3ds", "babu.3ds"});
    std::multiset<std::string> names;
    for (const auto& entry : directory.entries)
        names.insert(entry.name);
    EXPECT_EQ(names, std::multiset<std::string>(expected.begin(), expected.end()));

    for (const auto& entry : directory.entries) {
        if (entry.name == "negyzetek.dat") continue;
        const std::vector<std::uint8_t> generated =
            kxtest::ReadWholeFile(kxtest::AssetPath(entry.name));
        ASSERT_GE(entry.offset, 0);
        ASSERT_LE(static_cast<std::size_t>(entry.offset) + entry.size, archive.size())
            << entry.name;
        const std::span<const std::uint8_t> member(archive.data() + entry.offset,
                                                   static_cast<std::size_t>(entry.size));
        EXPECT_TRUE(std::equal(member.begin(), member.end(), generated.begin(), generated.end()))
            << entry.name << " is not the generated file";
    }
}

// The game loads the members in the manifest's order; the build packs them in it too.
TEST(Archive, PacksTheManifestsMembersInItsOrder) {
    const archive::BigfileDirectory directory = archive::ReadBigfileDirectory(
        kxtest::ReadWholeFile(std::string(KX_BINARY_DIR) + "/adatok.vbf"));
    std::vector<std::string> packed, listed;
    for (const auto& entry : directory.entries)
        packed.push_back(entry.name);
    for (const game::ArchiveMember& member : game::kArchiveMembers)
        listed.emplace_back(member.name);
    EXPECT_EQ(packed, listed);
}

} // namespace
