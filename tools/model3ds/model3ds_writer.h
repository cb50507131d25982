// Builds 3DS model files in the chunk nesting the game's loader walks.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/store.h"

namespace tools3ds {

struct Material {
    std::string name;
    float r = 0, g = 0, b = 0;
};

struct MaterialGroup {
    std::string material;
    std::vector<std::uint16_t> faces;
};

struct Mesh {
    std::string name;
    std::vector<engine::TVector3> vertices;
    std::vector<std::array<std::uint16_t, 3>> faces;
    std::vector<MaterialGroup> groups;
};

// How the diffuse colour of each material is stored.
enum class ColourForm {
    Floats, // 0x0010: three 32-bit reals
    Bytes,  // 0x0011: three bytes, each colour rounded to 0..255
};

// Objects of a file that are not meshes.
enum class ObjectKind { Light, Camera };

struct NonMesh {
    std::string name;
    ObjectKind kind = ObjectKind::Light;
};

struct Options {
    ColourForm colours = ColourForm::Floats;
    std::vector<NonMesh> extraObjects; // written after the meshes
};

// A complete 3DS file: main chunk, version, editor chunk with the materials (name + diffuse
// colour), then one named object with a triangle mesh per mesh.
std::vector<std::uint8_t> Write3ds(const std::vector<Material>& materials,
                                   const std::vector<Mesh>& meshes);
std::vector<std::uint8_t> Write3ds(const std::vector<Material>& materials,
                                   const std::vector<Mesh>& meshes, const Options& options);

// One raw chunk: id, length (header included) and payload; for tests that build odd files.
std::vector<std::uint8_t> Chunk(std::uint16_t id, const std::vector<std::uint8_t>& payload);

} // namespace tools3ds
