#include "tools/model3ds/model3ds_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace tools3ds {
namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

void PutF32(std::vector<std::uint8_t>& out, float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    PutU32(out, bits);
}

void PutName(std::vector<std::uint8_t>& out, const std::string& name) {
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(0);
}

void Append(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& more) {
    out.insert(out.end(), more.begin(), more.end());
}

std::uint8_t ColourByte(float c) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(c, 0.0f, 1.0f) * 255.0f));
}

std::vector<std::uint8_t> MaterialChunk(const Material& m, ColourForm form) {
    std::vector<std::uint8_t> name;
    PutName(name, m.name);
    std::vector<std::uint8_t> colour;
    if (form == ColourForm::Floats) {
        PutF32(colour, m.r);
        PutF32(colour, m.g);
        PutF32(colour, m.b);
    } else {
        colour = {ColourByte(m.r), ColourByte(m.g), ColourByte(m.b)};
    }
    std::vector<std::uint8_t> body = Chunk(0xA000, name);
    Append(body, Chunk(0xA020, Chunk(form == ColourForm::Floats ? 0x0010 : 0x0011, colour)));
    return Chunk(0xAFFF, body);
}

std::vector<std::uint8_t> MeshChunk(const Mesh& mesh) {
    if (mesh.vertices.size() > 0xFFFF || mesh.faces.size() > 0xFFFF)
        throw std::length_error("3DS meshes hold at most 65535 vertices and faces");
    std::vector<std::uint8_t> vertices;
    PutU16(vertices, static_cast<std::uint16_t>(mesh.vertices.size()));
    for (const auto& v : mesh.vertices) {
        PutF32(vertices, v.x);
        PutF32(vertices, v.y);
        PutF32(vertices, v.z);
    }
    std::vector<std::uint8_t> faces;
    PutU16(faces, static_cast<std::uint16_t>(mesh.faces.size()));
    for (const auto& f : mesh.faces) {
        PutU16(faces, f[0]);
        PutU16(faces, f[1]);
        PutU16(faces, f[2]);
        PutU16(faces, 0x0007); // all three edges visible
    }
    for (const auto& group : mesh.groups) {
        if (group.faces.size() > 0xFFFF)
            throw std::length_error("a material group lists at most 65535 faces");
        std::vector<std::uint8_t> body;
        PutName(body, group.material);
        PutU16(body, static_cast<std::uint16_t>(group.faces.size()));
        for (auto f : group.faces)
            PutU16(body, f);
        Append(faces, Chunk(0x4130, body));
    }
    std::vector<std::uint8_t> trimesh = Chunk(0x4110, vertices);
    Append(trimesh, Chunk(0x4120, faces));
    std::vector<std::uint8_t> object;
    PutName(object, mesh.name);
    Append(object, Chunk(0x4100, trimesh));
    return Chunk(0x4000, object);
}

std::vector<std::uint8_t> NonMeshChunk(const NonMesh& item) {
    std::vector<std::uint8_t> object;
    PutName(object, item.name);
    std::vector<std::uint8_t> body;
    for (float f : {1.0f, 2.0f, 3.0f})
        PutF32(body, f); // position
    if (item.kind == ObjectKind::Light) {
        Append(object, Chunk(0x4600, body));
    } else {
        for (float f : {0.0f, 0.0f, 0.0f, 0.0f, 45.0f})
            PutF32(body, f); // target, roll, lens
        Append(object, Chunk(0x4700, body));
    }
    return Chunk(0x4000, object);
}

} // namespace

std::vector<std::uint8_t> Chunk(std::uint16_t id, const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> out;
    out.reserve(payload.size() + 6);
    PutU16(out, id);
    PutU32(out, static_cast<std::uint32_t>(payload.size() + 6));
    Append(out, payload);
    return out;
}

std::vector<std::uint8_t> Write3ds(const std::vector<Material>& materials,
                                   const std::vector<Mesh>& meshes) {
    return Write3ds(materials, meshes, Options{});
}

std::vector<std::uint8_t> Write3ds(const std::vector<Material>& materials,
                                   const std::vector<Mesh>& meshes, const Options& options) {
    std::vector<std::uint8_t> editor;
    for (const auto& m : materials)
        Append(editor, MaterialChunk(m, options.colours));
    for (const auto& mesh : meshes)
        Append(editor, MeshChunk(mesh));
    for (const auto& item : options.extraObjects)
        Append(editor, NonMeshChunk(item));
    std::vector<std::uint8_t> version;
    PutU32(version, 3);
    std::vector<std::uint8_t> body = Chunk(0x0002, version);
    Append(body, Chunk(0x3D3D, editor));
    return Chunk(0x4D4D, body);
}

} // namespace tools3ds
