#include "rules/board_definition.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "base/memory_block.h"
#include "base/unique_fd.h"
#include "archive/workspace.h"
#include "base/failure.h"

namespace rules {

namespace {

// What a text file yields once it has run out.
constexpr std::uint8_t kEndOfFile = 26;

// Reads characters one at a time, never past the end of the text.
struct TextReader {
    std::span<const std::uint8_t> text;
    std::size_t pos = 0;

    std::uint8_t Next() { return pos < text.size() ? text[pos++] : kEndOfFile; }
    void SkipLine() {
        while (pos < text.size())
            if (text[pos++] == '\n') return;
    }
};

// The character as the message shows it; bytes that can't stand in text appear by code.
std::string CharText(std::uint8_t c) {
    if (c == 0 || c >= 0x80) return "#" + std::to_string(c);
    return std::string(1, static_cast<char>(c));
}

std::uint8_t Coordinate(std::uint8_t c) {
    if (c < '0' || c > '9')
        throw base::ConvertFailure("'" + CharText(c) + "' is not a valid integer value");
    // Only 1..6 are cells: anything else would index outside the board.
    if (c < '1' || c > '6')
        throw base::ConvertFailure("'" + CharText(c) + "' is not a valid board coordinate");
    return static_cast<std::uint8_t>(c - '0');
}

// The whole file from the current directory, an empty block for an empty file.
void ReadWholeFile(const char* name, base::MemoryBlock& block) {
    base::UniqueFd file(open(name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.fd < 0)
        throw base::IoFailure(errno == ENOENT ? "File not found" : "File access denied");
    struct stat info {};
    if (fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode))
        throw base::IoFailure("File access denied");
    if (info.st_size == 0) return;
    base::AllocBlock(block, static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < block.size) {
        const ssize_t got = read(file.fd, block.data.get() + done, block.size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) throw base::IoFailure("Read beyond end of file");
        done += static_cast<std::size_t>(got);
    }
}

} // namespace

std::array<Square, kSquareCount> ParseBoardDefinition(std::span<const std::uint8_t> text) {
    std::array<Square, kSquareCount> squares{};
    TextReader reader{text};
    for (auto& square : squares) {
        for (auto& corner : square) {
            reader.Next();
            corner.i = Coordinate(reader.Next());
            reader.Next();
            corner.j = Coordinate(reader.Next());
            reader.Next();
        }
        reader.SkipLine();
    }
    return squares;
}

void LoadBoardDefinition(const std::string& archiveName) {
    archive::ExtractToTemp(kBoardDefinitionName, archiveName);
    archive::GoTempFolder();
    base::MemoryBlock block;
    ReadWholeFile(kBoardDefinitionName, block);
    SquareTable = ParseBoardDefinition(block.Bytes());
    base::FreeBlock(block);
    archive::DeleteFromTemp(kBoardDefinitionName);
}

} // namespace rules
