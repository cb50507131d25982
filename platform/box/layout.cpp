#include "platform/box/layout.h"

#include <algorithm>
#include <cstdint>

namespace platform {

namespace {

constexpr int kPadding = 20; // between the box's edge and its content
constexpr int kIconSize = 32;
constexpr int kIconGap = 16; // between the icon and the text
constexpr int kMaxTextWidth = 440;
constexpr int kMinBoxWidth = 320;
constexpr int kScreenMargin = 16; // kept free round a box as large as the screen
constexpr int kButtonHeight = 30;
constexpr int kMinButtonWidth = 88;
constexpr int kBarPadding = 12; // round the button, inside the bar
constexpr const char* kEllipsis = "...";

// Bytes 0xC2-0xF4 begin a UTF-8 sequence of this many bytes; others begin none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 1;
}

// The width of a string, or limit + 1 once it is wider than limit: a word of megabytes is
// measured no further than a line.
int WidthUpTo(const BoxFont& font, std::string_view s, int limit) {
    int width = 0;
    for (const char c : s) {
        width += GlyphOf(font, c).advance;
        if (width > limit) return limit + 1;
    }
    return width;
}

// How many leading characters of s fit in width; at least one, so every line makes progress.
std::size_t FittingPrefix(const BoxFont& font, std::string_view s, int width) {
    int used = 0;
    std::size_t n = 0;
    while (n < s.size()) {
        used += GlyphOf(font, s[n]).advance;
        if (used > width) break;
        ++n;
    }
    return std::max<std::size_t>(n, 1);
}

struct LineSink {
    WrappedText& out;
    std::size_t maxLines;
    // False once the lines are full; the text then counts as cut short.
    bool Push(std::string line) {
        if (out.lines.size() >= maxLines) {
            out.truncated = true;
            return false;
        }
        out.lines.push_back(std::move(line));
        return true;
    }
};

// Breaks one paragraph (no '\n') into lines; false when the lines ran out.
bool WrapParagraph(const BoxFont& font, std::string_view paragraph, int maxWidth, LineSink& sink) {
    std::string line;
    int lineWidth = 0;
    bool wrapped = false; // the current line continues an earlier one: no leading spaces
    std::size_t pos = 0;
    while (pos < paragraph.size()) {
        const std::size_t wordStart =
            std::min(paragraph.find_first_not_of(' ', pos), paragraph.size());
        const std::size_t wordEnd = std::min(paragraph.find(' ', wordStart), paragraph.size());
        const std::string_view spaces = paragraph.substr(pos, wordStart - pos);
        std::string_view word = paragraph.substr(wordStart, wordEnd - wordStart);
        pos = wordEnd;
        if (word.empty()) break; // trailing spaces
        const std::string_view gap = (wrapped && line.empty()) ? std::string_view{} : spaces;
        const int gapWidth = WidthUpTo(font, gap, maxWidth);
        const int wordWidth = WidthUpTo(font, word, maxWidth);
        if (lineWidth + gapWidth + wordWidth <= maxWidth) {
            line.append(gap);
            line.append(word);
            lineWidth += gapWidth + wordWidth;
            continue;
        }
        if (!line.empty()) {
            if (!sink.Push(std::move(line))) return false;
            line.clear();
            lineWidth = 0;
            wrapped = true;
        }
        // A word wider than a line is broken between characters.
        while (WidthUpTo(font, word, maxWidth) > maxWidth) {
            const std::size_t n = FittingPrefix(font, word, maxWidth);
            if (!sink.Push(std::string(word.substr(0, n)))) return false;
            word.remove_prefix(n);
            wrapped = true;
        }
        line.assign(word);
        lineWidth = WidthUpTo(font, word, maxWidth);
    }
    // A paragraph's last piece of a word broken to the end leaves nothing more to show.
    if (line.empty() && wrapped) return true;
    return sink.Push(std::move(line));
}

// Ends the last line in "...", dropping characters until it fits.
void MarkCut(const BoxFont& font, std::vector<std::string>& lines, int maxWidth) {
    if (lines.empty()) lines.emplace_back();
    std::string& last = lines.back();
    while (!last.empty() && TextWidth(font, last) + TextWidth(font, kEllipsis) > maxWidth)
        last.pop_back();
    while (!last.empty() && last.back() == ' ')
        last.pop_back();
    last += kEllipsis;
}

} // namespace

std::string DisplayText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r') {
            out += '\n';
            i += (i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        } else if (c == '\n' || (c >= ' ' && c <= '~')) {
            out += static_cast<char>(c);
            ++i;
        } else if (c == '\t') {
            out += ' ';
            ++i;
        } else {
            // A whole UTF-8 character is one '?'; a byte that starts none is one too.
            std::size_t length = SequenceLength(c);
            for (std::size_t k = 1; k < length; ++k)
                if (i + k >= text.size() ||
                    (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                    length = 1;
            out += '?';
            i += length;
        }
    }
    return out;
}

const BoxGlyph& GlyphOf(const BoxFont& font, char c) {
    static const BoxGlyph kNone{};
    if (font.glyphs.size() != static_cast<std::size_t>(kGlyphCount)) return kNone;
    if (c < kFirstGlyph || c > kLastGlyph) c = '?';
    return font.glyphs[static_cast<std::size_t>(c - kFirstGlyph)];
}

int TextWidth(const BoxFont& font, std::string_view line) {
    std::int64_t width = 0;
    for (const char c : line)
        width += GlyphOf(font, c).advance;
    return static_cast<int>(std::min<std::int64_t>(width, INT32_MAX));
}

WrappedText WrapText(const BoxFont& font, std::string_view displayText, int maxWidth,
                     int maxLines) {
    WrappedText out;
    LineSink sink{out, static_cast<std::size_t>(std::max(maxLines, 1))};
    maxWidth = std::max(maxWidth, 1);
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(displayText.find('\n', start), displayText.size());
        if (!WrapParagraph(font, displayText.substr(start, end - start), maxWidth, sink)) break;
        if (end == displayText.size()) break;
        start = end + 1;
    }
    return out;
}

BoxLayout LayoutBox(const BoxFont& font, std::string_view text, int screenWidth, int screenHeight) {
    // An unknown screen is taken as the smallest the game runs on.
    if (screenWidth <= 0 || screenHeight <= 0) {
        screenWidth = 640;
        screenHeight = 480;
    }
    BoxLayout box;
    box.lineHeight = std::max(font.lineHeight, 1);
    const int maxWidth = std::max(screenWidth - 2 * kScreenMargin, 1);
    const int maxHeight = std::max(screenHeight - 2 * kScreenMargin, 1);
    const int barHeight = kButtonHeight + 2 * kBarPadding;
    const int textLeft = kPadding + kIconSize + kIconGap;
    const int textMaxWidth = std::clamp(maxWidth - textLeft - kPadding, 1, kMaxTextWidth);
    const int maxLines = std::max((maxHeight - barHeight - 2 * kPadding) / box.lineHeight, 1);

    const bool cut = text.size() > kMaxShownBytes;
    WrappedText wrapped =
        WrapText(font, DisplayText(text.substr(0, kMaxShownBytes)), textMaxWidth, maxLines);
    if (wrapped.truncated || cut) MarkCut(font, wrapped.lines, textMaxWidth);
    box.lines = std::move(wrapped.lines);

    int textWidth = 0;
    for (const std::string& line : box.lines)
        textWidth = std::max(textWidth, TextWidth(font, line));
    const int textHeight = static_cast<int>(box.lines.size()) * box.lineHeight;
    const int contentHeight = std::max(kIconSize, textHeight);

    box.width = std::min(std::max(textLeft + textWidth + kPadding, kMinBoxWidth), maxWidth);
    box.height = std::min(kPadding + contentHeight + kPadding + barHeight, maxHeight);
    box.icon = {kPadding, kPadding, kIconSize, kIconSize};
    // A text shorter than the icon is centred beside it.
    box.text = {textLeft, kPadding + (contentHeight - textHeight) / 2, textWidth, textHeight};
    box.bar = {0, box.height - barHeight, box.width, barHeight};
    const int buttonWidth = std::max(kMinButtonWidth, TextWidth(font, kButtonLabel) + 40);
    box.button = {box.width - kBarPadding - 4 - buttonWidth, box.bar.y + kBarPadding, buttonWidth,
                  kButtonHeight};
    return box;
}

} // namespace platform
