#include "tools/assetgen/mesh.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {

std::uint16_t AddVertex(Mesh& mesh, TVector3 position) {
    if (mesh.vertices.size() >= 65535) throw std::length_error("model has too many vertices");
    mesh.vertices.push_back(position);
    return static_cast<std::uint16_t>(mesh.vertices.size() - 1);
}

void AddTriangle(Mesh& mesh, std::uint16_t a, std::uint16_t b, std::uint16_t c) {
    if (mesh.faces.size() >= 65535) throw std::length_error("model has too many triangles");
    mesh.faces.push_back({a, b, c});
}

namespace {

float Distance2(const TVector3& a, const TVector3& b) {
    const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

} // namespace

void AddQuad(Mesh& mesh, std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
    const auto& v = mesh.vertices;
    if (Distance2(v[a], v[c]) <= Distance2(v[b], v[d])) {
        AddTriangle(mesh, a, b, c);
        AddTriangle(mesh, a, c, d);
    } else {
        AddTriangle(mesh, a, b, d);
        AddTriangle(mesh, b, c, d);
    }
}

std::vector<RingStep> ZipRings(Mesh& mesh, const std::vector<std::uint16_t>& a,
                               const std::vector<std::uint16_t>& b) {
    if (a.size() < 3 || b.size() < 3) throw std::invalid_argument("a ring needs 3 corners");
    const int na = static_cast<int>(a.size()), nb = static_cast<int>(b.size());
    const auto at = [](const std::vector<std::uint16_t>& ring, int k) {
        return ring[static_cast<std::size_t>(k) % ring.size()];
    };
    std::vector<RingStep> steps;
    if (na == nb) {
        for (int k = 0; k < na; ++k) {
            AddQuad(mesh, at(a, k), at(a, k + 1), at(b, k + 1), at(b, k));
            steps.insert(steps.end(), 2, {k, na});
        }
        return steps;
    }
    for (int i = 0, j = 0; i < na || j < nb;) {
        if (i < na && (j == nb || (i + 1) * nb <= (j + 1) * na)) {
            AddTriangle(mesh, at(a, i), at(a, i + 1), at(b, j));
            steps.push_back({i++, na});
        } else {
            AddTriangle(mesh, at(a, i), at(b, j + 1), at(b, j));
            steps.push_back({j++, nb});
        }
    }
    return steps;
}

MeshReport Inspect(const Mesh& mesh) {
    MeshReport report;
    std::vector<std::uint32_t> edges;
    for (const auto& f : mesh.faces) {
        const TVector3& a = mesh.vertices.at(f[0]);
        const TVector3& b = mesh.vertices.at(f[1]);
        const TVector3& c = mesh.vertices.at(f[2]);
        const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
        const float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
        const float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        if (f[0] == f[1] || f[1] == f[2] || f[0] == f[2] ||
            std::sqrt(nx * nx + ny * ny + nz * nz) < 1e-6f)
            ++report.degenerate;
        for (int i = 0; i < 3; ++i)
            edges.push_back(static_cast<std::uint32_t>(f[static_cast<std::size_t>(i)]) << 16 |
                            f[static_cast<std::size_t>((i + 1) % 3)]);
    }
    std::sort(edges.begin(), edges.end());
    for (std::size_t i = 0; i < edges.size(); ++i) {
        if (i + 1 < edges.size() && edges[i + 1] == edges[i]) ++report.overusedEdges;
        const std::uint32_t twin = (edges[i] & 0xFFFF) << 16 | edges[i] >> 16;
        if (!std::binary_search(edges.begin(), edges.end(), twin)) ++report.openEdges;
    }
    return report;
}

void RequireSound(const Mesh& mesh, const std::string& name) {
    const MeshReport r = Inspect(mesh);
    if (r.degenerate || r.openEdges || r.overusedEdges)
        throw std::logic_error(name + ": " + std::to_string(r.degenerate) +
                               " degenerate triangles, " + std::to_string(r.openEdges) +
                               " open edges, " + std::to_string(r.overusedEdges) +
                               " edges used twice");
}

} // namespace assetgen
