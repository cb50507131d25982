// The box the platform layer draws itself: its compiled-in glyphs, the text it shows, the
// wrapping, the layout on screens of every size, and the painted pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "platform/box/font.h"
#include "platform/box/layout.h"
#include "platform/box/paint.h"

namespace {

using namespace platform;

const BoxFont& Font() {
    return BoxTextFont();
}

bool Printable(char c) {
    return c >= ' ' && c <= '~';
}

// Every line of a wrapping no wider than the width, and the words all kept, in order.
void ExpectWrapped(const WrappedText& wrapped, const std::string& text, int width) {
    std::string words;
    std::string rejoined;
    for (const char c : text)
        if (c != ' ' && c != '\n') words += c;
    for (const std::string& line : wrapped.lines) {
        EXPECT_LE(TextWidth(Font(), line), width) << "'" << line << "'";
        for (const char c : line)
            if (c != ' ') rejoined += c;
    }
    EXPECT_EQ(rejoined, words);
}

TEST(BoxFont, TableCoversPrintableAsciiWithinItsCoverage) {
    const BoxFont& font = Font();
    ASSERT_EQ(font.glyphs.size(), static_cast<std::size_t>(kGlyphCount));
    EXPECT_GE(font.lineHeight, 12);
    EXPECT_LE(font.lineHeight, 30);
    EXPECT_GT(font.ascent, 0);
    EXPECT_LT(font.ascent, font.lineHeight);
    for (char c = kFirstGlyph; c <= kLastGlyph; ++c) {
        const BoxGlyph& g = GlyphOf(font, c);
        SCOPED_TRACE(std::string("glyph '") + c + "'");
        EXPECT_GT(g.advance, 0);
        EXPECT_LT(g.advance, 2 * font.lineHeight);
        EXPECT_GE(g.width, 0);
        EXPECT_GE(g.height, 0);
        EXPECT_LE(static_cast<std::size_t>(g.offset) + static_cast<std::size_t>(g.width) * g.height,
                  font.coverage.size());
        // Ink stays near its cell: inside the line box, and about the advance.
        EXPECT_GE(g.top, 0);
        EXPECT_LE(g.top + g.height, font.lineHeight);
        EXPECT_GE(g.left, -3);
        EXPECT_LE(g.left + g.width, g.advance + 3);
        if (c == ' ') {
            EXPECT_EQ(g.width * g.height, 0);
        } else {
            EXPECT_GT(g.width * g.height, 0);
            // Anti-aliased: dark ink and the shades of its edges.
            const auto ink =
                font.coverage.subspan(g.offset, static_cast<std::size_t>(g.width) * g.height);
            EXPECT_GE(*std::max_element(ink.begin(), ink.end()), 160);
            EXPECT_TRUE(std::any_of(ink.begin(), ink.end(),
                                    [](std::uint8_t v) { return v > 0 && v < 255; }));
        }
    }
    // Letters sit on one baseline: 'x' and 'H' end there, 'g' reaches below.
    const BoxGlyph& x = GlyphOf(font, 'x');
    const BoxGlyph& h = GlyphOf(font, 'H');
    const BoxGlyph& g = GlyphOf(font, 'g');
    EXPECT_EQ(x.top + x.height, font.ascent);
    EXPECT_EQ(h.top + h.height, font.ascent);
    EXPECT_GT(g.top + g.height, font.ascent);
}

TEST(BoxFont, EveryByteHasAGlyphAndOthersShowAsQuestionMarks) {
    const BoxGlyph& question = GlyphOf(Font(), '?');
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const BoxGlyph& g = GlyphOf(Font(), c);
        EXPECT_GE(&g, Font().glyphs.data());
        EXPECT_LT(&g, Font().glyphs.data() + Font().glyphs.size());
        if (!Printable(c)) {
            EXPECT_EQ(&g, &question) << byte;
        }
    }
    // A font without its table has nothing to draw, and nothing to read out of bounds.
    const BoxFont empty{};
    EXPECT_EQ(GlyphOf(empty, 'A').width, 0);
    EXPECT_EQ(TextWidth(empty, "Koravex"), 0);
}

TEST(BoxText, ShowsPrintableAsciiAndOneQuestionMarkPerOtherCharacter) {
    EXPECT_EQ(DisplayText("Cant't Find A Suitable PixelFormat."),
              "Cant't Find A Suitable PixelFormat.");
    EXPECT_EQ(DisplayText(""), "");
    EXPECT_EQ(DisplayText("a\tb"), "a b");
    EXPECT_EQ(DisplayText("one\r\ntwo\rthree\nfour"), "one\ntwo\nthree\nfour");
    EXPECT_EQ(DisplayText(std::string("nul\0bel\a", 8) + "\x7f"), "nul?bel??");
    // UTF-8: two, three and four bytes, each one character.
    EXPECT_EQ(DisplayText("Gy\xC5\x91z\xC5\x91 \xE2\x82\xAC \xF0\x9F\x98\x80!"), "Gy?z? ? ?!");
    // Broken UTF-8: stray continuation bytes, a sequence cut short, bytes that begin none.
    EXPECT_EQ(DisplayText("\x80\xBF"), "??");
    EXPECT_EQ(DisplayText("\xE2\x82"), "??");
    EXPECT_EQ(DisplayText("\xE2\x82x"), "??x");
    EXPECT_EQ(DisplayText("\xC0\xAF\xF8"), "???");
    for (int byte = 0; byte < 256; ++byte) {
        const std::string shown = DisplayText(std::string(3, static_cast<char>(byte)));
        EXPECT_FALSE(shown.empty());
        for (const char c : shown)
            EXPECT_TRUE(Printable(c) || c == '\n') << byte;
    }
}

TEST(BoxWrap, BreaksAtSpacesWithinTheWidthAndKeepsEveryWord) {
    const std::string text = "Input/output failure: Bigfile(adatok.vbf) is missing or blocked by "
                             "another application!";
    const int width = TextWidth(Font(), "Input/output failure: Bigfile");
    const WrappedText wrapped = WrapText(Font(), text, width, 100);
    EXPECT_GT(wrapped.lines.size(), 2u);
    EXPECT_FALSE(wrapped.truncated);
    ExpectWrapped(wrapped, text, width);
    // A line never starts with the space it was broken at.
    for (std::size_t i = 1; i < wrapped.lines.size(); ++i)
        EXPECT_NE(wrapped.lines[i].front(), ' ');
    EXPECT_EQ(wrapped.lines.front(), "Input/output failure:");

    const WrappedText one = WrapText(Font(), "Window Creation Error.", 1000, 10);
    ASSERT_EQ(one.lines.size(), 1u);
    EXPECT_EQ(one.lines[0], "Window Creation Error.");
}

TEST(BoxWrap, NewlinesBreakAndBlankLinesStay) {
    const WrappedText wrapped = WrapText(Font(), "first\n\nthird\n", 1000, 10);
    EXPECT_EQ(wrapped.lines, (std::vector<std::string>{"first", "", "third", ""}));
    EXPECT_EQ(WrapText(Font(), "", 1000, 10).lines, std::vector<std::string>{""});
    EXPECT_EQ(WrapText(Font(), "  indented", 1000, 10).lines[0], "  indented");
}

TEST(BoxWrap, BreaksAWordWiderThanALineBetweenCharacters) {
    const std::string path = "/home/player/" + std::string(200, 'x') + "/adatok.vbf";
    const int width = 200;
    const WrappedText wrapped = WrapText(Font(), "Cannot read " + path, width, 100);
    ExpectWrapped(wrapped, "Cannot read " + path, width);
    EXPECT_EQ(wrapped.lines.front(), "Cannot read");
    for (std::size_t i = 1; i + 1 < wrapped.lines.size(); ++i)
        // Broken lines are full: the next character would not have fitted.
        EXPECT_GT(TextWidth(Font(), wrapped.lines[i]) + GlyphOf(Font(), 'x').advance, width);

    // Narrower than one glyph: one character a line, and no empty lines.
    const WrappedText narrow = WrapText(Font(), "WWW", 1, 10);
    EXPECT_EQ(narrow.lines, (std::vector<std::string>{"W", "W", "W"}));
    EXPECT_EQ(WrapText(Font(), "ab", 0, 10).lines.size(), 2u);
    EXPECT_EQ(WrapText(Font(), "ab", -5, -5).lines.size(), 1u);
}

TEST(BoxWrap, StopsAtTheLastLineOnHugeTextsQuickly) {
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& huge :
         {std::string(8 << 20, 'w'), std::string(8 << 20, ' '), std::string(8 << 20, '\n'), [] {
              std::string s;
              for (int i = 0; i < 1 << 20; ++i)
                  s += "word ";
              return s;
          }()}) {
        const WrappedText wrapped = WrapText(Font(), huge, 400, 30);
        EXPECT_LE(wrapped.lines.size(), 30u);
        for (const std::string& line : wrapped.lines)
            EXPECT_LE(TextWidth(Font(), line), 400);
    }
    EXPECT_TRUE(WrapText(Font(), std::string(100000, 'w'), 400, 30).truncated);
    EXPECT_FALSE(WrapText(Font(), "a\nb\nc", 400, 3).truncated);
    EXPECT_TRUE(WrapText(Font(), "a\nb\nc\nd", 400, 3).truncated);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

// A layout's parts: inside the box, the text above the bar, the button in it.
void ExpectSound(const BoxLayout& box, int screenWidth, int screenHeight) {
    EXPECT_GT(box.width, 0);
    EXPECT_GT(box.height, 0);
    EXPECT_LE(box.width, screenWidth);
    EXPECT_LE(box.height, screenHeight);
    EXPECT_FALSE(box.lines.empty());
    for (const std::string& line : box.lines)
        EXPECT_LE(TextWidth(Font(), line), box.text.width);
}

TEST(BoxLayout, ShortTextMakesASmallBoxWithOkAtTheRightOfTheBar) {
    const BoxLayout box = LayoutBox(Font(), "Cant't Find A Suitable PixelFormat.", 1920, 1080);
    ExpectSound(box, 1920, 1080);
    EXPECT_EQ(box.lines, std::vector<std::string>{"Cant't Find A Suitable PixelFormat."});
    EXPECT_LT(box.width, 600);
    EXPECT_LT(box.height, 200);
    EXPECT_GE(box.text.x, box.icon.x + box.icon.width);
    EXPECT_LE(box.text.y + box.text.height, box.bar.y);
    EXPECT_LE(box.icon.y + box.icon.height, box.bar.y);
    EXPECT_EQ(box.bar.y + box.bar.height, box.height);
    EXPECT_GE(box.button.y, box.bar.y);
    EXPECT_LE(box.button.y + box.button.height, box.height);
    EXPECT_LE(box.button.x + box.button.width, box.width);
    EXPECT_GT(box.button.x + box.button.width, box.width - 30);
    EXPECT_GE(box.button.width, TextWidth(Font(), kButtonLabel));
    // One line is centred beside the taller icon.
    EXPECT_NEAR(box.text.y + box.text.height / 2.0, box.icon.y + box.icon.height / 2.0, 1.0);
}

TEST(BoxLayout, LongTextWrapsAtAReadableWidth) {
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "a rather long explanation ";
    const BoxLayout box = LayoutBox(Font(), text, 1920, 1080);
    ExpectSound(box, 1920, 1080);
    EXPECT_GT(box.lines.size(), 5u);
    EXPECT_LE(box.width, 600);
    EXPECT_EQ(box.text.height, static_cast<int>(box.lines.size()) * box.lineHeight);
}

TEST(BoxLayout, FitsEveryScreenAndCutsWhatDoesNotFit) {
    std::string huge;
    for (int i = 0; i < 100000; ++i)
        huge += "line " + std::to_string(i) + "\n";
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{
             {1920, 1080}, {1024, 768}, {640, 480}, {300, 200}, {100, 80}, {10, 10}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        const BoxLayout box = LayoutBox(Font(), huge, w, h);
        ExpectSound(box, w, h);
        EXPECT_TRUE(box.lines.back().ends_with("...")) << box.lines.back();
        if (w >= 640) {
            EXPECT_LE(box.text.y + box.text.height, box.bar.y);
        }
    }
    // Past the most a box ever shows, the text is cut before it is even read.
    const BoxLayout cut = LayoutBox(Font(), std::string(kMaxShownBytes + 1, 'a'), 1920, 1080);
    EXPECT_TRUE(cut.lines.back().ends_with("..."));
    // An unknown screen is a small one.
    ExpectSound(LayoutBox(Font(), "text", 0, 0), 640, 480);
    ExpectSound(LayoutBox(Font(), "text", -1, 5), 640, 480);
    // Control bytes and a text of nothing.
    ExpectSound(LayoutBox(Font(), std::string("\0\x01\x02\xff", 4), 1024, 768), 1024, 768);
    EXPECT_EQ(LayoutBox(Font(), std::string("\0\x01\x02\xff", 4), 1024, 768).lines[0], "????");
    ExpectSound(LayoutBox(Font(), "", 1024, 768), 1024, 768);
}

std::uint32_t Pixel(const BoxPixels& p, int x, int y) {
    return p.argb[static_cast<std::size_t>(y) * p.width + x] & 0xFFFFFF;
}

int Luma(std::uint32_t rgb) {
    return static_cast<int>(((rgb >> 16) & 0xFF) * 3 + ((rgb >> 8) & 0xFF) * 6 + (rgb & 0xFF)) / 10;
}

// Pixels darker than half grey inside a rectangle.
int DarkPixels(const BoxPixels& p, const BoxRect& r) {
    int n = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
        for (int x = r.x; x < r.x + r.width; ++x)
            n += Luma(Pixel(p, x, y)) < 128;
    return n;
}

TEST(BoxPaint, DrawsTheTextTheIconAndAFocusedButton) {
    const BoxLayout box = LayoutBox(Font(), "Window Creation Error.", 1024, 768);
    const BoxPixels p = PaintBox(Font(), box, ButtonState::Normal);
    ASSERT_EQ(p.width, box.width);
    ASSERT_EQ(p.height, box.height);
    ASSERT_EQ(p.argb.size(), static_cast<std::size_t>(p.width) * p.height);
    for (const std::uint32_t px : p.argb)
        EXPECT_EQ(px >> 24, 0xFFu);
    // Dark ink on a light face, with the shades between of smooth edges.
    EXPECT_GT(Luma(Pixel(p, box.width / 2, box.text.y - 5)), 230);
    const int ink = DarkPixels(p, box.text);
    EXPECT_GT(ink, 80);
    EXPECT_LT(ink, box.text.width * box.text.height / 2);
    std::vector<std::uint32_t> shades(p.argb.begin(), p.argb.end());
    std::sort(shades.begin(), shades.end());
    EXPECT_GT(std::unique(shades.begin(), shades.end()) - shades.begin(), 40);
    // The icon is red, the button's edge blue, its label dark.
    const std::uint32_t icon = Pixel(p, box.icon.x + 8, box.icon.y + box.icon.height / 2);
    EXPECT_GT((icon >> 16) & 0xFF, 150u);
    EXPECT_LT((icon >> 8) & 0xFF, 100u);
    const std::uint32_t edge = Pixel(p, box.button.x + box.button.width / 2, box.button.y);
    EXPECT_GT(edge & 0xFF, (edge >> 16) & 0xFF);
    EXPECT_GT(DarkPixels(p, box.button), 20);
}

TEST(BoxPaint, PressedAndHoveredChangeOnlyTheButton) {
    const BoxLayout box = LayoutBox(Font(), "Window Creation Error.", 1024, 768);
    const BoxPixels normal = PaintBox(Font(), box, ButtonState::Normal);
    for (const ButtonState state : {ButtonState::Hover, ButtonState::Pressed}) {
        const BoxPixels other = PaintBox(Font(), box, state);
        int changed = 0;
        for (int y = 0; y < box.height; ++y)
            for (int x = 0; x < box.width; ++x)
                if (Pixel(normal, x, y) != Pixel(other, x, y)) {
                    ++changed;
                    EXPECT_TRUE(box.button.Contains(x, y)) << x << "," << y;
                }
        EXPECT_GT(changed, box.button.width * box.button.height / 3);
    }
}

TEST(BoxPaint, LayoutsReachingPastThePixelsAreClipped) {
    BoxLayout box = LayoutBox(Font(), "text", 1024, 768);
    box.button = {-50, -50, 5000, 5000};
    box.icon = {box.width - 5, box.height - 5, 64, 64};
    box.text = {-100, box.height - 3, 10, 10};
    box.lines = {std::string(5000, 'W'), "", "x"};
    EXPECT_EQ(PaintBox(Font(), box, ButtonState::Pressed).argb.size(),
              static_cast<std::size_t>(box.width) * box.height);
    box.width = 0;
    box.height = -4;
    EXPECT_TRUE(PaintBox(Font(), box, ButtonState::Normal).argb.empty());
}

} // namespace
