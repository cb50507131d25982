// koravex-placeholders: writes stand-in members so that the game starts: a 3DS file with its
// main chunk only for each *.3ds name, and a small flat-coloured 24-bit BMP for each *.bmp name.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, value & 0xffff);
    PutU16(out, value >> 16);
}

std::vector<std::uint8_t> EmptyModel() {
    std::vector<std::uint8_t> out;
    PutU16(out, 0x4D4D); // main chunk
    PutU32(out, 6);      // its length: the header alone
    return out;
}

// A 4 x 4 picture in one colour, so that each stand-in is told apart on screen.
std::vector<std::uint8_t> FlatPicture(const std::string& name) {
    constexpr std::uint32_t side = 4;
    constexpr std::uint32_t rowBytes = side * 3; // already a multiple of 4
    constexpr std::uint32_t pixelBytes = rowBytes * side;
    std::uint32_t hash = 2166136261u;
    for (const unsigned char c : name)
        hash = (hash ^ c) * 16777619u;

    std::vector<std::uint8_t> out{'B', 'M'};
    PutU32(out, 14 + 40 + pixelBytes);
    PutU32(out, 0);
    PutU32(out, 14 + 40);
    PutU32(out, 40);
    PutU32(out, side);
    PutU32(out, side);
    PutU16(out, 1);  // planes
    PutU16(out, 24); // bits per pixel
    PutU32(out, 0);  // no compression
    PutU32(out, pixelBytes);
    PutU32(out, 2835); // 72 dpi
    PutU32(out, 2835);
    PutU32(out, 0);
    PutU32(out, 0);
    for (std::uint32_t p = 0; p < side * side; ++p) {
        out.push_back(static_cast<std::uint8_t>(0x40 | hash));
        out.push_back(static_cast<std::uint8_t>(0x40 | hash >> 8));
        out.push_back(static_cast<std::uint8_t>(0x40 | hash >> 16));
    }
    return out;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: koravex-placeholders FOLDER NAME...\n"
                   "  writes a stand-in for each NAME (*.3ds or *.bmp) into FOLDER\n",
                   argc == 2 && std::string(argv[1]) == "--help" ? stdout : stderr);
        return argc == 2 && std::string(argv[1]) == "--help" ? 0 : 2;
    }
    const std::string folder = argv[1];
    for (int k = 2; k < argc; ++k) {
        const std::string name = argv[k];
        std::vector<std::uint8_t> bytes;
        if (EndsWith(name, ".3ds")) {
            bytes = EmptyModel();
        } else if (EndsWith(name, ".bmp")) {
            bytes = FlatPicture(name);
        } else {
            std::fprintf(stderr, "koravex-placeholders: no stand-in for %s\n", name.c_str());
            return 1;
        }
        const std::string path = folder + "/" + name;
        std::FILE* out = std::fopen(path.c_str(), "wb");
        const bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        if (!out || std::fclose(out) != 0 || !written) {
            std::fprintf(stderr, "koravex-placeholders: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
