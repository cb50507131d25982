#include "engine/geometry.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <span>
#include <utility>

#include "base/way_out.h"

namespace engine {

bool ValidCorner(std::int32_t object, std::int32_t face, std::int32_t corner) {
    return ValidObject(object) && face >= 0 &&
           face < static_cast<std::int32_t>(state.Objects[object].MiniPolygons.size()) &&
           corner >= 0 && corner < 3;
}

namespace {

constexpr TVector3 kUpright{0.0f, 0.0f, 1.0f};

bool DistanceAtMostOne(double squared) {
    return static_cast<float>(std::sqrt(squared)) <= 1.0f;
}

// The largest squared distance that PointDistance still rounds to at most 1. Positive doubles
// order like their bit patterns, so a bisection over the bits finds it.
double CapLimit() {
    std::uint64_t low = std::bit_cast<std::uint64_t>(1.0);
    std::uint64_t high = std::bit_cast<std::uint64_t>(1.0 + 0x1p-20);
    while (high - low > 1) {
        const std::uint64_t mid = low + (high - low) / 2;
        (DistanceAtMostOne(std::bit_cast<double>(mid)) ? low : high) = mid;
    }
    return std::bit_cast<double>(low);
}

const double kCapLimit = CapLimit();

// The squared distance exactly as PointDistance sums it.
double SquaredDistance(const TVector3& a, const TVector3& b) {
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    const double dz = static_cast<double>(b.z) - a.z;
    return dx * dx + dy * dy + dz * dz;
}

// Adds a neighbour's normal when it lies within 60 degrees of the face's own; `limit` is
// kCapLimit, passed in so that loops keep it in a register.
void Accumulate(const TVector3& own, const TVector3& other, double limit, TVector3& sum,
                std::int32_t& n) {
    if (SquaredDistance(other, own) > limit) return;
    sum.x += other.x;
    sum.y += other.y;
    sum.z += other.z;
    ++n;
}

// The mean, with y and z turned round for the scene's axes; the average is not renormalised.
TVector3 Mean(const TVector3& sum, std::int32_t n) {
    const float count = static_cast<float>(n);
    return {sum.x / count, -sum.y / count, -sum.z / count};
}

} // namespace

void VectorSub(const TVector3& a, const TVector3& b, TVector3& out) {
    out = TVector3{a.x - b.x, a.y - b.y, a.z - b.z};
}

void VectorCross(const TVector3& a, const TVector3& b, TVector3& out) {
    const double ax = a.x, ay = a.y, az = a.z, bx = b.x, by = b.y, bz = b.z;
    out = TVector3{static_cast<float>(ay * bz - az * by), static_cast<float>(az * bx - ax * bz),
                   static_cast<float>(ax * by - ay * bx)};
}

void VectorNormalize(const TVector3& v, TVector3& out) {
    const float length = PointDistance(v.x, v.y, v.z, 0.0f, 0.0f, 0.0f);
    if (length == 0.0f || !std::isfinite(length)) {
        out = TVector3{};
        return;
    }
    out = TVector3{v.x / length, v.y / length, v.z / length};
}

float PointDistance(float x1, float y1, float z1, float x2, float y2, float z2) {
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    const double dz = static_cast<double>(z2) - z1;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

bool WithinCap(const TVector3& a, const TVector3& b) {
    return SquaredDistance(a, b) <= kCapLimit;
}

bool FaceNormal(const VE_TObject& object, const TMiniPolygon& t, TVector3& out) {
    for (std::uint16_t k : t.Indices) {
        if (k >= object.Vertices.size()) {
            out = TVector3{};
            return false;
        }
    }
    const TVector3& a = object.Vertices[t.Indices[0]];
    TVector3 ca, ba;
    VectorSub(object.Vertices[t.Indices[2]], a, ca);
    VectorSub(object.Vertices[t.Indices[1]], a, ba);
    VectorCross(ca, ba, out);
    VectorNormalize(out, out);
    return out.x != 0.0f || out.y != 0.0f || out.z != 0.0f;
}

TVector3 SmoothedNormal(std::int32_t object, std::int32_t face, std::int32_t corner) {
    if (!ValidCorner(object, face, corner)) return kUpright;
    const VE_TObject& o = state.Objects[object];
    const TMiniPolygon& t = o.MiniPolygons[face];
    TVector3 own;
    if (!FaceNormal(o, t, own)) return kUpright;
    const std::uint16_t k = t.Indices[corner];
    const double limit = kCapLimit;
    TVector3 sum;
    std::int32_t n = 0;
    for (const TMiniPolygon& u : o.MiniPolygons) {
        for (std::uint16_t index : u.Indices) {
            if (index != k) continue;
            TVector3 other;
            if (FaceNormal(o, u, other)) Accumulate(own, other, limit, sum, n);
        }
    }
    return Mean(sum, n);
}

namespace {

// Beyond this many triangles a vertex keeps a summary of its normals.
constexpr std::uint32_t kBusyUses = 64;

NormalKey KeyOf(const TVector3& v) {
    return {std::bit_cast<std::uint32_t>(v.x), std::bit_cast<std::uint32_t>(v.y),
            std::bit_cast<std::uint32_t>(v.z)};
}

TVector3 NormalOf(const NormalKey& key) {
    return {std::bit_cast<float>(key[0]), std::bit_cast<float>(key[1]),
            std::bit_cast<float>(key[2])};
}

BusyVertex Summarise(std::span<const TVector3> normals) {
    BusyVertex b;
    b.count = static_cast<std::int32_t>(normals.size());
    for (const TVector3& n : normals) {
        b.centre[0] += n.x;
        b.centre[1] += n.y;
        b.centre[2] += n.z;
        b.total.x += n.x;
        b.total.y += n.y;
        b.total.z += n.z;
    }
    for (double& c : b.centre)
        c /= b.count;
    for (const TVector3& n : normals)
        b.radius =
            std::max(b.radius, std::hypot(n.x - b.centre[0], n.y - b.centre[1], n.z - b.centre[2]));
    return b;
}

// The scan of a vertex's normals in triangle order. The cap test runs over a block of them
// before the block is summed, so that the sum has no branch to mispredict; the neighbours are
// added in the same order all the same.
TVector3 Scan(std::span<const TVector3> normals, const TVector3& own) {
    const double limit = kCapLimit;
    std::array<std::uint32_t, 256> inside;
    TVector3 sum;
    std::int32_t n = 0;
    for (std::size_t start = 0; start < normals.size(); start += inside.size()) {
        const std::span<const TVector3> block =
            normals.subspan(start, std::min(inside.size(), normals.size() - start));
        std::uint32_t taken = 0;
        for (std::uint32_t i = 0; i < block.size(); ++i) {
            inside[taken] = i;
            taken += SquaredDistance(block[i], own) <= limit;
        }
        for (std::uint32_t j = 0; j < taken; ++j) {
            const TVector3& other = block[inside[j]];
            sum.x += other.x;
            sum.y += other.y;
            sum.z += other.z;
        }
        n += static_cast<std::int32_t>(taken);
    }
    return Mean(sum, n);
}

// A node of a box tree over the normals at a vertex: its box, the sum of the normals below it,
// and either two children or a run of normals.
struct TreeNode {
    std::array<float, 3> low{}, high{};
    std::array<double, 3> sum{};
    std::int32_t count = 0;
    std::uint32_t begin = 0, end = 0; // the run in NormalTree::normals
    std::int32_t left = -1, right = -1;
};

struct NormalTree {
    std::vector<TVector3> normals; // in tree order
    std::vector<TreeNode> nodes;   // node 0 is the root
};

constexpr std::uint32_t kLeafNormals = 8;

std::int32_t BuildTree(NormalTree& tree, std::uint32_t begin, std::uint32_t end) {
    const auto at = static_cast<std::int32_t>(tree.nodes.size());
    tree.nodes.emplace_back();
    const std::vector<TVector3>& normals = tree.normals;
    TreeNode node;
    node.begin = begin;
    node.end = end;
    node.count = static_cast<std::int32_t>(end - begin);
    node.low = {normals[begin].x, normals[begin].y, normals[begin].z};
    node.high = node.low;
    for (std::uint32_t i = begin; i < end; ++i) {
        const std::array<float, 3> v{normals[i].x, normals[i].y, normals[i].z};
        for (int a = 0; a < 3; ++a) {
            node.low[a] = std::min(node.low[a], v[a]);
            node.high[a] = std::max(node.high[a], v[a]);
            node.sum[a] += v[a];
        }
    }
    if (end - begin > kLeafNormals) {
        int axis = 0;
        for (int a = 1; a < 3; ++a)
            if (node.high[a] - node.low[a] > node.high[axis] - node.low[axis]) axis = a;
        const auto first = tree.normals.begin() + begin;
        const std::uint32_t middle = begin + (end - begin) / 2;
        std::nth_element(
            first, tree.normals.begin() + middle, tree.normals.begin() + end,
            [axis](const TVector3& p, const TVector3& q) { return (&p.x)[axis] < (&q.x)[axis]; });
        node.left = BuildTree(tree, begin, middle);
        node.right = BuildTree(tree, middle, end);
    }
    tree.nodes[static_cast<std::size_t>(at)] = node;
    return at;
}

// The nearest and farthest squared distances from `own` to a box, each summed as
// SquaredDistance sums them: rounding keeps order, so no normal in the box is nearer or farther.
void BoxReach(const TreeNode& node, const TVector3& own, double& nearest, double& farthest) {
    const float p[3] = {own.x, own.y, own.z};
    double nearSquares[3], farSquares[3];
    for (int a = 0; a < 3; ++a) {
        const double below = static_cast<double>(node.low[a]) - p[a];
        const double above = static_cast<double>(node.high[a]) - p[a];
        const double in = below > 0 ? below : above < 0 ? above : 0.0;
        const double out = std::max(std::abs(below), std::abs(above));
        nearSquares[a] = in * in;
        farSquares[a] = out * out;
    }
    nearest = nearSquares[0] + nearSquares[1] + nearSquares[2];
    farthest = farSquares[0] + farSquares[1] + farSquares[2];
}

// The mean turned for the scene, from a sum in double precision.
TVector3 DoubleMean(const double sum[3], std::int64_t n) {
    const double count = static_cast<double>(n);
    return {static_cast<float>(sum[0] / count), static_cast<float>(-sum[1] / count),
            static_cast<float>(-sum[2] / count)};
}

// Every normal within the cap, found through the tree and summed in double precision; false,
// leaving `mean` alone, once the nodes visited and normals tested have used up `work`.
bool TreeMean(const NormalTree& tree, const TVector3& own, std::int64_t& work,
              std::vector<std::int32_t>& pending, TVector3& mean) {
    const double limit = kCapLimit;
    double sum[3] = {0, 0, 0};
    std::int64_t n = 0;
    pending.assign(1, 0);
    while (!pending.empty()) {
        if (--work < 0) return false;
        const TreeNode& node = tree.nodes[static_cast<std::size_t>(pending.back())];
        pending.pop_back();
        double nearest = 0, farthest = 0;
        BoxReach(node, own, nearest, farthest);
        if (nearest > limit) continue;
        if (farthest <= limit) {
            for (int a = 0; a < 3; ++a)
                sum[a] += node.sum[a];
            n += node.count;
        } else if (node.left < 0) {
            work -= node.end - node.begin;
            for (std::uint32_t i = node.begin; i < node.end; ++i) {
                const TVector3& other = tree.normals[i];
                if (SquaredDistance(other, own) > limit) continue;
                sum[0] += other.x;
                sum[1] += other.y;
                sum[2] += other.z;
                ++n;
            }
        } else {
            pending.push_back(node.left);
            pending.push_back(node.right);
        }
    }
    mean = DoubleMean(sum, n);
    return true;
}

constexpr int kGridColumns = 2 * kGridRows;
constexpr double kPi = 3.14159265358979323846;
constexpr double kRowHeight = kPi / kGridRows;
constexpr double kColumnWidth = 2 * kPi / kGridColumns;

// Running sums along each row of a latitude-longitude grid of the normals at a vertex.
struct CellSums {
    double sum[3] = {0, 0, 0};
    std::int64_t count = 0;
};
struct NormalGrid {
    std::vector<CellSums> runs; // per row, kGridColumns + 1 sums of the cells before each column
    std::array<double, kGridRows> rowCos{}, rowSin{}; // of the polar angle of each row's centre
    CellSums& At(int row, int column) {
        return runs[static_cast<std::size_t>(row * (kGridColumns + 1) + column)];
    }
    const CellSums& At(int row, int column) const {
        return runs[static_cast<std::size_t>(row * (kGridColumns + 1) + column)];
    }
};

// The polar angle from +z and the longitude of a normal.
void Polar(const TVector3& v, double& polar, double& longitude) {
    polar = std::atan2(std::hypot(double{v.x}, double{v.y}), double{v.z});
    longitude = std::atan2(double{v.y}, double{v.x});
}

int CellOf(double angle, double span, int cells) {
    return std::clamp(static_cast<int>(angle / span * cells), 0, cells - 1);
}

NormalGrid GridOf(std::span<const TVector3> normals) {
    NormalGrid grid;
    grid.runs.resize(static_cast<std::size_t>(kGridRows * (kGridColumns + 1)));
    for (const TVector3& v : normals) {
        double polar = 0, longitude = 0;
        Polar(v, polar, longitude);
        CellSums& cell = grid.At(CellOf(polar, kPi, kGridRows),
                                 CellOf(longitude + kPi, 2 * kPi, kGridColumns) + 1);
        cell.sum[0] += v.x;
        cell.sum[1] += v.y;
        cell.sum[2] += v.z;
        ++cell.count;
    }
    for (int row = 0; row < kGridRows; ++row) {
        grid.rowCos[static_cast<std::size_t>(row)] = std::cos((row + 0.5) * kRowHeight);
        grid.rowSin[static_cast<std::size_t>(row)] = std::sin((row + 0.5) * kRowHeight);
    }
    for (int row = 0; row < kGridRows; ++row)
        for (int column = 1; column <= kGridColumns; ++column) {
            CellSums& run = grid.At(row, column);
            const CellSums& before = grid.At(row, column - 1);
            for (int a = 0; a < 3; ++a)
                run.sum[a] += before.sum[a];
            run.count += before.count;
        }
    return grid;
}

// acos within 0.0001 radian, far finer than a cell, and several times faster than the library's.
double RoughAcos(double x) {
    const double a = std::abs(x);
    const double r =
        std::sqrt(1.0 - a) * (1.5707288 + a * (-0.2121144 + a * (0.0742610 - 0.0187293 * a)));
    return x < 0 ? kPi - r : r;
}

// Rounding for the column arithmetic, without a library call; |v| stays far below INT_MAX.
int Floor(double v) {
    const auto t = static_cast<int>(v);
    return t - (v < t);
}
int Ceil(double v) {
    const auto t = static_cast<int>(v);
    return t + (v > t);
}

// Adds the cells [from, to) of a row, 0 <= from <= to <= kGridColumns.
void AddCells(const NormalGrid& grid, int row, int from, int to, double sum[3], std::int64_t& n) {
    const CellSums& a = grid.At(row, from);
    const CellSums& b = grid.At(row, to);
    for (int k = 0; k < 3; ++k)
        sum[k] += b.sum[k] - a.sum[k];
    n += b.count - a.count;
}

// The mean of the normals in the cells whose centres lie within 60 degrees of `own`. In each
// row those cells form one run of longitudes round own's, found by the spherical law of cosines.
TVector3 GridMean(const NormalGrid& grid, const TVector3& own) {
    double polar = 0, longitude = 0;
    Polar(own, polar, longitude);
    const double ownCos = std::cos(polar), ownSin = std::sin(polar);
    const double centre = (longitude + kPi) / kColumnWidth - 0.5; // own's longitude, in columns
    // Only rows whose centres lie within 60 degrees of own's latitude can hold any.
    const int first = std::max(0, static_cast<int>((polar - kPi / 3) / kRowHeight - 1));
    const int last = std::min(kGridRows - 1, static_cast<int>((polar + kPi / 3) / kRowHeight + 1));
    double sum[3] = {0, 0, 0};
    std::int64_t n = 0;
    for (int row = first; row <= last; ++row) {
        const double c = grid.rowCos[static_cast<std::size_t>(row)] * ownCos;
        const double s = grid.rowSin[static_cast<std::size_t>(row)] * ownSin;
        // Cells of the row are within the cap where c + s * cos(longitude difference) >= 1/2.
        const double need = 0.5 - c;
        if (need > s) continue;
        if (need <= -s) {
            AddCells(grid, row, 0, kGridColumns, sum, n);
            continue;
        }
        const double reach = RoughAcos(std::clamp(need / s, -1.0, 1.0)) / kColumnWidth;
        const int from = Ceil(centre - reach);
        const int to = Floor(centre + reach) + 1;
        if (to - from >= kGridColumns) {
            AddCells(grid, row, 0, kGridColumns, sum, n);
            continue;
        }
        if (to <= from) continue;
        const int start = (from % kGridColumns + kGridColumns) % kGridColumns;
        const int stop = start + (to - from);
        AddCells(grid, row, start, std::min(stop, kGridColumns), sum, n);
        if (stop > kGridColumns) AddCells(grid, row, 0, stop - kGridColumns, sum, n);
    }
    if (n == 0) return {own.x, -own.y, -own.z};
    return DoubleMean(sum, n);
}

// The result for each distinct normal at a vertex of more than kHugeUses triangles.
std::vector<std::pair<NormalKey, TVector3>> HugeMeans(std::span<const TVector3> normals,
                                                      std::int64_t treeWorkPerUse) {
    std::vector<std::pair<NormalKey, TVector3>> means;
    means.reserve(normals.size());
    for (const TVector3& v : normals)
        means.emplace_back(KeyOf(v), TVector3{});
    std::ranges::sort(means, {}, &std::pair<NormalKey, TVector3>::first);
    const auto repeated = std::ranges::unique(means, {}, &std::pair<NormalKey, TVector3>::first);
    means.erase(repeated.begin(), repeated.end());

    constexpr std::size_t kQuitCheck = 256; // results between two looks for a quit request
    NormalTree tree;
    tree.normals.assign(normals.begin(), normals.end());
    BuildTree(tree, 0, static_cast<std::uint32_t>(normals.size()));
    std::int64_t work = treeWorkPerUse * static_cast<std::int64_t>(normals.size());
    std::vector<std::int32_t> pending;
    std::size_t done = 0;
    for (; done < means.size(); ++done) {
        if (done % kQuitCheck == 0) base::StopIfQuitRequested();
        if (!TreeMean(tree, NormalOf(means[done].first), work, pending, means[done].second)) break;
    }
    if (done == means.size()) return means;

    const NormalGrid grid = GridOf(normals);
    for (std::size_t i = 0; i < means.size(); ++i) {
        if (i % kQuitCheck == 0) base::StopIfQuitRequested();
        means[i].second = GridMean(grid, NormalOf(means[i].first));
    }
    return means;
}

} // namespace

NormalIndex BuildNormalIndex(std::int32_t object, std::int64_t treeWorkPerUse) {
    NormalIndex index;
    if (!ValidObject(object)) return index;
    const VE_TObject& o = state.Objects[object];
    const std::size_t m = o.MiniPolygons.size();
    index.corners.resize(m);
    index.normals.resize(m);
    index.valid.resize(m);
    index.firstUse.assign(o.Vertices.size() + 1, 0);
    for (std::size_t i = 0; i < m; ++i) {
        const TMiniPolygon& t = o.MiniPolygons[i];
        index.corners[i] = t.Indices;
        index.valid[i] = FaceNormal(o, t, index.normals[i]) ? 255 : 0;
        if (!index.valid[i]) continue;
        for (std::uint16_t k : t.Indices)
            ++index.firstUse[k + 1];
    }
    for (std::size_t k = 1; k < index.firstUse.size(); ++k)
        index.firstUse[k] += index.firstUse[k - 1];
    index.useNormals.resize(index.firstUse.back());
    std::vector<std::uint32_t> next(index.firstUse.begin(), index.firstUse.end() - 1);
    // Filled in (triangle, corner) order, the order in which the full scan meets them.
    for (std::size_t i = 0; i < m; ++i) {
        if (!index.valid[i]) continue;
        for (std::uint16_t k : o.MiniPolygons[i].Indices)
            index.useNormals[next[k]++] = index.normals[i];
    }
    for (std::size_t k = 0; k + 1 < index.firstUse.size(); ++k) {
        const std::uint32_t uses = index.firstUse[k + 1] - index.firstUse[k];
        if (uses <= kBusyUses) continue;
        const std::span<const TVector3> normals(index.useNormals.data() + index.firstUse[k], uses);
        BusyVertex& b = index.busy[static_cast<std::uint16_t>(k)];
        if (uses > kHugeUses)
            b.huge = HugeMeans(normals, treeWorkPerUse);
        else
            b = Summarise(normals);
    }
    return index;
}

TVector3 SmoothedNormal(const NormalIndex& index, std::int32_t face, std::int32_t corner) {
    if (face < 0 || static_cast<std::size_t>(face) >= index.valid.size() || corner < 0 ||
        corner >= 3 || !index.valid[face])
        return kUpright;
    const std::uint16_t k = index.corners[face][corner];
    const TVector3& own = index.normals[face];
    const std::span<const TVector3> normals(index.useNormals.data() + index.firstUse[k],
                                            index.firstUse[k + 1] - index.firstUse[k]);
    const auto busy = index.busy.find(k);
    if (busy == index.busy.end()) return Scan(normals, own);

    const BusyVertex& b = busy->second;
    const NormalKey key = KeyOf(own);
    if (!b.huge.empty()) {
        // Every normal at the vertex has its result: the triangle's own is among them.
        const auto found =
            std::ranges::lower_bound(b.huge, key, {}, &std::pair<NormalKey, TVector3>::first);
        return found != b.huge.end() && found->first == key ? found->second : kUpright;
    }
    // When the ball of normals lies well inside the 60-degree cap every one of them is taken,
    // and their in-order sum is already known. The margin dwarfs any rounding in the test.
    const double reach =
        std::hypot(own.x - b.centre[0], own.y - b.centre[1], own.z - b.centre[2]) + b.radius;
    if (reach <= 1.0 - 1e-6) return Mean(b.total, b.count);
    const auto known = b.byOwnNormal.find(key);
    if (known != b.byOwnNormal.end()) return known->second;
    const TVector3 result = Scan(normals, own);
    b.byOwnNormal.emplace(key, result);
    return result;
}

} // namespace engine
