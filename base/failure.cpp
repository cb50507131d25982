#include "base/failure.h"

namespace base {

namespace {

// The length of the well-formed UTF-8 sequence of a printable character beyond ASCII starting
// at `at`, or 0.
std::size_t PrintableSequence(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(k) & 0x3F);
    }
    // Overlong forms, surrogates, beyond Unicode, and the C1 controls.
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF ||
        code < 0xA0)
        return 0;
    return length;
}

} // namespace

std::string PrintablePath(std::string_view path) {
    std::string out;
    for (std::size_t at = 0; at < path.size();) {
        const auto c = static_cast<unsigned char>(path[at]);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
            ++at;
        } else if (const std::size_t length = PrintableSequence(path, at); length > 0) {
            out.append(path.substr(at, length));
            at += length;
        } else {
            out += EscapedByte(c);
            ++at;
        }
    }
    return out;
}

} // namespace base
