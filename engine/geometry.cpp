#include "engine/geometry.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <span>

namespace engine {

bool ValidCorner(std::int32_t object, std::int32_t face, std::int32_t corner) {
    return ValidObject(object) && face >= 0 &&
           face < static_cast<std::int32_t>(Objects[object].MiniPolygons.size()) && corner >= 0 &&
           corner < 3;
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
    const VE_TObject& o = Objects[object];
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

TVector3 Scan(std::span<const TVector3> normals, const TVector3& own) {
    const double limit = kCapLimit;
    TVector3 sum;
    std::int32_t n = 0;
    for (const TVector3& other : normals)
        Accumulate(own, other, limit, sum, n);
    return Mean(sum, n);
}

} // namespace

NormalIndex BuildNormalIndex(std::int32_t object) {
    NormalIndex index;
    if (!ValidObject(object)) return index;
    const VE_TObject& o = Objects[object];
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
        if (uses > kBusyUses)
            index.busy.emplace(static_cast<std::uint16_t>(k),
                               Summarise({index.useNormals.data() + index.firstUse[k], uses}));
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
    // When the ball of normals lies well inside the 60-degree cap every one of them is taken,
    // and their in-order sum is already known. The margin dwarfs any rounding in the test.
    const double reach =
        std::hypot(own.x - b.centre[0], own.y - b.centre[1], own.z - b.centre[2]) + b.radius;
    if (reach <= 1.0 - 1e-6) return Mean(b.total, b.count);
    const std::array<std::uint32_t, 3> key{std::bit_cast<std::uint32_t>(own.x),
                                           std::bit_cast<std::uint32_t>(own.y),
                                           std::bit_cast<std::uint32_t>(own.z)};
    const auto known = b.byOwnNormal.find(key);
    if (known != b.byOwnNormal.end()) return known->second;
    const TVector3 result = Scan(normals, own);
    b.byOwnNormal.emplace(key, result);
    return result;
}

} // namespace engine
