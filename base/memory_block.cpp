#include "base/memory_block.h"

#include <algorithm>
#include <cstring>

#include "base/report.h"

namespace base {

void AllocBlock(MemoryBlock& block, std::size_t size) {
    if (size == 0) {
        FreeBlock(block);
        base::ShowEngineError("Not enough memory to run this application !");
        return;
    }
    auto fresh = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    if (!block.Empty()) std::memcpy(fresh.get(), block.data.get(), std::min(size, block.size));
    block.data = std::move(fresh);
    block.size = size;
}

void FreeBlock(MemoryBlock& block) {
    block.data.reset();
    block.size = 0;
}

} // namespace base
