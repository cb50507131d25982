// The 3DS model loader: appends a file's named meshes to engine::Objects.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "archive/byte_cursor.h"

namespace engine {

struct ZString {
    std::string text;
    std::uint16_t consumed = 0; // bytes taken from the source, the zero byte included
};

// Reads bytes up to and including a zero byte, at most `limit` of them (0 meaning 255), and
// stops early where the source ends.
ZString ReadZString(archive::ByteCursor& source, std::uint8_t limit);

// Loads the model member `fileName` of `archiveName` (a plain file beside the program when the
// archive name is empty). Faces become mini polygons when `miniPolygons` is non-zero, else
// 3-corner polygons. Archive failures pass through as shell::IoFailure.
void Load3DS(const std::string& fileName, const std::string& archiveName,
             std::uint8_t miniPolygons);

// The walk of Load3DS over a model already in memory; `fileName` names it in the report.
void Load3DSFromMemory(std::span<const std::uint8_t> data, const std::string& fileName,
                       std::uint8_t miniPolygons);

} // namespace engine
