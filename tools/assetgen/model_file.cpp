#include "tools/assetgen/model_file.h"

#include "tools/model3ds/model3ds_writer.h"

namespace assetgen {

std::vector<std::uint8_t> ModelFile(const Mesh& mesh, const std::string& objectName,
                                    const std::string& materialName, Rgb colour) {
    RequireSound(mesh, objectName);
    tools3ds::Mesh out;
    out.name = objectName;
    out.vertices = mesh.vertices;
    out.faces = mesh.faces;
    tools3ds::MaterialGroup group{materialName, {}};
    for (std::size_t f = 0; f < mesh.faces.size(); ++f)
        group.faces.push_back(static_cast<std::uint16_t>(f));
    out.groups.push_back(std::move(group));
    return tools3ds::Write3ds({{materialName, colour.r, colour.g, colour.b}}, {out});
}

} // namespace assetgen
