// Any bytes as a board definition: refused with a conversion failure, or 105 squares whose
// every corner is a cell of the board.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "rules/board_definition.h"
#include "base/failure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const auto squares = rules::ParseBoardDefinition(std::span<const std::uint8_t>(data, size));
        for (const auto& square : squares)
            for (const auto& corner : square)
                if (corner.i < 1 || corner.i > 6 || corner.j < 1 || corner.j > 6) std::abort();
    } catch (const base::ConvertFailure&) {
    }
    return 0;
}
