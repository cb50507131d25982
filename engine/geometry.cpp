#include "engine/geometry.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace engine {
namespace {

constexpr TVector3 kUpright{0.0f, 0.0f, 1.0f};

bool ValidCorner(std::int32_t object, std::int32_t face, std::int32_t corner) {
    return ValidObject(object) && face >= 0 &&
           face < static_cast<std::int32_t>(Objects[object].MiniPolygons.size()) && corner >= 0 &&
           corner < 3;
}

// Adds a neighbour's normal when it lies within 60 degrees of the face's own (|a - b| <= 1).
void Accumulate(const TVector3& own, const TVector3& other, TVector3& sum, std::int32_t& n) {
    if (PointDistance(other.x, other.y, other.z, own.x, own.y, own.z) > 1.0f) return;
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

void ProjectToWindow(const TVector3& p, double& windowX, double& windowY, double& windowDepth) {
    GLint viewport[4];
    GLdouble modelview[16];
    GLdouble projection[16];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    gluProject(p.x, p.z, -static_cast<double>(p.y), modelview, projection, viewport, &windowX,
               &windowY, &windowDepth);
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
    TVector3 sum;
    std::int32_t n = 0;
    for (const TMiniPolygon& u : o.MiniPolygons) {
        for (std::uint16_t index : u.Indices) {
            if (index != k) continue;
            TVector3 other;
            if (FaceNormal(o, u, other)) Accumulate(own, other, sum, n);
        }
    }
    return Mean(sum, n);
}

void SmoothVertexNormal(std::int32_t object, std::int32_t face, std::int32_t corner) {
    if (!ValidCorner(object, face, corner)) return;
    const TVector3 normal = SmoothedNormal(object, face, corner);
    glNormal3f(normal.x, normal.y, normal.z);
}

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
    index.uses.resize(index.firstUse.back());
    std::vector<std::uint32_t> next(index.firstUse.begin(), index.firstUse.end() - 1);
    // Filled in (triangle, corner) order, the order in which the full scan meets them.
    for (std::size_t i = 0; i < m; ++i) {
        if (!index.valid[i]) continue;
        for (std::uint16_t k : o.MiniPolygons[i].Indices)
            index.uses[next[k]++] = static_cast<std::uint32_t>(i);
    }
    return index;
}

TVector3 SmoothedNormal(const NormalIndex& index, std::int32_t face, std::int32_t corner) {
    if (face < 0 || static_cast<std::size_t>(face) >= index.valid.size() || corner < 0 ||
        corner >= 3 || !index.valid[face])
        return kUpright;
    const std::uint16_t k = index.corners[face][corner];
    const TVector3& own = index.normals[face];
    TVector3 sum;
    std::int32_t n = 0;
    for (std::uint32_t i = index.firstUse[k]; i < index.firstUse[k + 1]; ++i)
        Accumulate(own, index.normals[index.uses[i]], sum, n);
    return Mean(sum, n);
}

} // namespace engine
