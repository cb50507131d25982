// The message box's compiled-in glyphs against the font itself: laid side by side as the
// box lays them, they give the same line as SDL2_ttf renders in one piece.
#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/box/font.h"
#include "platform/box/layout.h"
#include "tools/assetgen/box_font.h"
#include "tools/assetgen/text.h"

namespace {

using namespace assetgen;

TEST(BoxFontGlyphs, LaidSideBySideTheyMatchTheFontsOwnLine) {
    const TextLibrary library;
    const Font font = OpenFont(Weight::Regular, kBoxFontPixels);
    TTF_SetFontHinting(font.get(), TTF_HINTING_NORMAL);
    TTF_SetFontKerning(font.get(), 0); // the box does not kern
    const platform::BoxFont& box = platform::BoxTextFont();
    ASSERT_EQ(box.lineHeight, LineHeight(font.get()));
    ASSERT_EQ(box.ascent, Ascent(font.get()));

    for (const std::string line : {"Koravex: Bigfile(adatok.vbf) is missing!",
                                   "jig /|\\ {Wq} @#$%&*_~ `0123456789'", "AVAVA fi ffl Tj"}) {
        SCOPED_TRACE(line);
        const TextMask reference = RenderText(font.get(), line);
        // SDL2_ttf moves the whole line right by any ink reaching left of its start.
        int pen = 0;
        int reach = 0;
        for (const char c : line) {
            reach = std::min(reach, pen + platform::GlyphOf(box, c).left);
            pen += platform::GlyphOf(box, c).advance;
        }
        pen = -reach;
        EXPECT_NEAR(pen + platform::TextWidth(box, line), reference.width, 1);
        std::vector<float> laid(reference.coverage.size(), 0.0f);
        for (const char c : line) {
            const platform::BoxGlyph& g = platform::GlyphOf(box, c);
            for (int y = 0; y < g.height; ++y)
                for (int x = 0; x < g.width; ++x) {
                    const int px = pen + g.left + x;
                    const int py = g.top + y;
                    ASSERT_TRUE(px >= 0 && px < reference.width && py >= 0 &&
                                py < reference.height);
                    float& at = laid[static_cast<std::size_t>(py) * reference.width + px];
                    at = std::min(1.0f, at + box.coverage[g.offset + y * g.width + x] / 255.0f);
                }
            pen += g.advance;
        }
        double difference = 0.0;
        double ink = 0.0;
        for (std::size_t i = 0; i < laid.size(); ++i) {
            difference += std::abs(laid[i] - reference.coverage[i]);
            ink += reference.coverage[i];
        }
        EXPECT_LT(difference, 0.02 * ink);
    }
}

} // namespace
