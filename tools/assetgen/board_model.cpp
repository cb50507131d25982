#include "tools/assetgen/board_model.h"

#include <cmath>
#include <map>
#include <numbers>

namespace assetgen {

namespace {

constexpr int kSidePoints = 6;            // segments on each side of a cell's tile
constexpr int kRim = 4 * kSidePoints;     // points round each hollow
constexpr int kLattice = 6 * kSidePoints; // segments along each side of the field
constexpr int kEdgeSteps = 4;             // facets of the rounded edge

// Tile boundaries along either axis: the inner ones halfway between cells, the outer ones
// where the rounded edge starts.
float TileLine(int m) {
    if (m <= 0) return -kFieldHalf;
    if (m >= 6) return kFieldHalf;
    return kCellPitch * static_cast<float>(m) - 27.0f;
}

// Position along an axis of fine lattice index i = 0..kLattice: tile sides are split evenly.
float LatticeCoordinate(int i) {
    const int tile = std::min(i / kSidePoints, 5);
    const float t = static_cast<float>(i - tile * kSidePoints) / kSidePoints;
    return TileLine(tile) + (TileLine(tile + 1) - TileLine(tile)) * t;
}

// Depth of the hollow's spherical dish at distance r from its centre; exactly 0 at the rim.
float DishDepth(float r) {
    if (r >= kHollowRadius) return 0.0f;
    const float R =
        (kHollowRadius * kHollowRadius + kHollowDepth * kHollowDepth) / (2 * kHollowDepth);
    return (R - kHollowDepth) - std::sqrt(R * R - r * r);
}

struct Builder {
    Mesh mesh;
    std::map<std::pair<int, int>, std::uint16_t> lattice; // face vertices on tile sides, by (i, j)

    std::uint16_t LatticeVertex(int i, int j) {
        const auto key = std::make_pair(i, j);
        const auto it = lattice.find(key);
        if (it != lattice.end()) return it->second;
        const std::uint16_t v = AddVertex(mesh, {LatticeCoordinate(i), LatticeCoordinate(j), 0.0f});
        lattice.emplace(key, v);
        return v;
    }

    // The lattice point k steps counter-clockwise round tile (m, n), from its lower-right corner.
    std::uint16_t TilePerimeter(int m, int n, int k) {
        const int side = k / kSidePoints, t = k % kSidePoints;
        const int i0 = m * kSidePoints, i1 = i0 + kSidePoints;
        const int j0 = n * kSidePoints, j1 = j0 + kSidePoints;
        switch (side) {
        case 0:
            return LatticeVertex(i1, j0 + t);
        case 1:
            return LatticeVertex(i1 - t, j1);
        case 2:
            return LatticeVertex(i0, j1 - t);
        default:
            return LatticeVertex(i0 + t, j0);
        }
    }

    void Tile(int m, int n) {
        const float cx = CellCentre(m + 1), cy = CellCentre(n + 1);
        // Rim, one ring inside it, and the bottom of the dish; rim point k faces perimeter point k.
        const float radii[2] = {kHollowRadius, 0.5f * kHollowRadius};
        std::vector<std::uint16_t> rings[2];
        for (int r = 0; r < 2; ++r) {
            for (int k = 0; k < kRim; ++k) {
                const float a = (-45.0f + 360.0f * static_cast<float>(k) / kRim) *
                                std::numbers::pi_v<float> / 180.0f;
                rings[r].push_back(
                    AddVertex(mesh, {cx + radii[r] * std::cos(a), cy + radii[r] * std::sin(a),
                                     DishDepth(radii[r])}));
            }
        }
        const std::uint16_t centre = AddVertex(mesh, {cx, cy, -kHollowDepth});
        for (int k = 0; k < kRim; ++k) {
            const int k1 = (k + 1) % kRim;
            const auto uk = static_cast<std::size_t>(k), uk1 = static_cast<std::size_t>(k1);
            AddQuad(mesh, TilePerimeter(m, n, k), TilePerimeter(m, n, k1), rings[0][uk1],
                    rings[0][uk]);
            AddQuad(mesh, rings[0][uk], rings[0][uk1], rings[1][uk1], rings[1][uk]);
            AddTriangle(mesh, rings[1][uk], rings[1][uk1], centre);
        }
    }

    // The field's outline, counter-clockwise from the lower-right corner.
    std::vector<std::pair<int, int>> Outline() const {
        std::vector<std::pair<int, int>> out;
        for (int t = 0; t < kLattice; ++t)
            out.emplace_back(kLattice, t);
        for (int t = 0; t < kLattice; ++t)
            out.emplace_back(kLattice - t, kLattice);
        for (int t = 0; t < kLattice; ++t)
            out.emplace_back(0, kLattice - t);
        for (int t = 0; t < kLattice; ++t)
            out.emplace_back(t, 0);
        return out;
    }

    void EdgeAndBody() {
        // Rows of the edge profile, each the outline scaled out to `half` at height z: the
        // rounded edge (fine enough that the smoothing rule blends it), the upright side, and
        // a small chamfer at the underside, whose corners stay crisp.
        struct Row {
            float half, z;
        };
        std::vector<Row> rows;
        for (int s = 1; s <= kEdgeSteps; ++s) {
            const float a = 0.5f * std::numbers::pi_v<float> * static_cast<float>(s) / kEdgeSteps;
            rows.push_back(
                {kFieldHalf + kEdgeRadius * std::sin(a), -kEdgeRadius * (1.0f - std::cos(a))});
        }
        rows.push_back({kBoardHalf, kBoardBottom + 0.4f});
        rows.push_back({kBoardHalf - 0.4f, kBoardBottom});

        const std::vector<std::pair<int, int>> outline = Outline();
        std::vector<std::uint16_t> previous;
        for (const auto& [i, j] : outline)
            previous.push_back(LatticeVertex(i, j));
        for (const Row& row : rows) {
            std::vector<std::uint16_t> current;
            const float scale = row.half / kFieldHalf;
            for (const auto& [i, j] : outline)
                current.push_back(AddVertex(
                    mesh, {LatticeCoordinate(i) * scale, LatticeCoordinate(j) * scale, row.z}));
            for (std::size_t k = 0; k < outline.size(); ++k) {
                const std::size_t k1 = (k + 1) % outline.size();
                AddQuad(mesh, previous[k], current[k], current[k1], previous[k1]);
            }
            previous = std::move(current);
        }
        const std::uint16_t centre = AddVertex(mesh, {0.0f, 0.0f, kBoardBottom});
        for (std::size_t k = 0; k < outline.size(); ++k)
            AddTriangle(mesh, centre, previous[(k + 1) % outline.size()], previous[k]);
    }
};

} // namespace

Mesh BuildBoard() {
    Builder b;
    for (int n = 0; n < 6; ++n)
        for (int m = 0; m < 6; ++m)
            b.Tile(m, n);
    b.EdgeAndBody();
    return b.mesh;
}

} // namespace assetgen
