// The reader of the game's archive ("Bigfile"): one member, by name, whole into a block.
#pragma once

#include <cstdint>
#include <string>

#include "base/memory_block.h"

namespace archive {

// Reads the member `name` of `archiveName`, or with an empty archive name the file `name`,
// whole into `block`, and returns its size. Both names resolve against the current directory.
// Failures are reported through the engine's error box where they have a message of their
// own, and always end in base::IoFailure with the block left empty.
std::int32_t ReadFromBigfile(const std::string& name, const std::string& archiveName,
                             base::MemoryBlock& block);

} // namespace archive
