// Memory blocks: a raw byte run behind one owning reference that is empty or holds the block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace base {

// The owning reference. A fresh block's bytes are undefined until written.
struct MemoryBlock {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;

    bool Empty() const { return data == nullptr; }
    std::span<std::uint8_t> Bytes() { return {data.get(), size}; }
    std::span<const std::uint8_t> Bytes() const { return {data.get(), size}; }
};

// Gives the reference a block of size bytes, resizing one it already holds (the common
// prefix is kept). Size 0 reports "Not enough memory ..." and leaves the reference empty.
void AllocBlock(MemoryBlock& block, std::size_t size);
// Releases the block, if any, and leaves the reference empty.
void FreeBlock(MemoryBlock& block);

} // namespace base
