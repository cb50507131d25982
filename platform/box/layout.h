// The layout of the box the platform layer draws itself: which characters it shows, how
// its text wraps, and where the icon, the text and the OK button go. Pure: no SDL.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/box/font.h"

namespace platform {

// The text as the box's font can show it: printable ASCII and '\n' only. Tabs become spaces,
// "\r\n" and a lone '\r' break lines, and every other character (a control byte, a UTF-8
// sequence, a stray byte) becomes one '?'.
std::string DisplayText(std::string_view text);

// The glyph of a character; any character the font lacks has the glyph of '?'.
const BoxGlyph& GlyphOf(const BoxFont& font, char c);
// The pen movement over a line of display text.
int TextWidth(const BoxFont& font, std::string_view line);

struct WrappedText {
    std::vector<std::string> lines;
    bool truncated = false; // the text went on past the last line
};

// Lines no wider than maxWidth, broken at spaces; a word wider than a line is broken
// between characters, and '\n' always breaks. At most maxLines lines are made.
WrappedText WrapText(const BoxFont& font, std::string_view displayText, int maxWidth, int maxLines);

struct BoxRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool Contains(int px, int py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
};

struct BoxLayout {
    int width = 0;
    int height = 0;
    BoxRect icon;
    BoxRect text; // the first line's top-left corner and the block's size
    int lineHeight = 0;
    std::vector<std::string> lines; // a text cut short ends in "..."
    BoxRect bar;                    // the strip along the bottom that holds the button
    BoxRect button;
};

inline constexpr const char* kButtonLabel = "OK";
// Texts longer than this are cut before they are laid out; no screen could show them.
inline constexpr std::size_t kMaxShownBytes = 64 * 1024;

// The box for a text on a screen of the given size (a size unknown is 0 x 0). The box fits
// the screen with a margin; a text that does not fit is cut short.
BoxLayout LayoutBox(const BoxFont& font, std::string_view text, int screenWidth, int screenHeight);

} // namespace platform
