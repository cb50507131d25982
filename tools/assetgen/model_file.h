// Models as 3DS bytes: one named mesh with one material covering every triangle.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/mesh.h"

namespace assetgen {

std::vector<std::uint8_t> ModelFile(const Mesh& mesh, const std::string& objectName,
                                    const std::string& materialName, Rgb colour);

} // namespace assetgen
