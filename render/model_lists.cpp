#include "render/model_lists.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "base/way_out.h"
#include "engine/geometry.h"
#include "engine/store.h"

namespace render {
namespace {

// Corners smoothed between two looks for a quit request: a few milliseconds at the worst.
constexpr std::size_t kQuitCheckCorners = 4096;

// Each corner's normal is found before the list is begun, so that a quit request, which can
// unwind from any of them, never leaves a list half compiled or a glBegin open.
template <typename CornerNormal>
std::uint32_t Compile(std::int32_t object, const ListLook& look, CornerNormal cornerNormal) {
    std::vector<engine::TVector3> normals;
    if (engine::ValidObject(object)) {
        const engine::VE_TObject& o = engine::state.Objects[object];
        normals.resize(3 * o.MiniPolygons.size());
        for (std::size_t corner = 0; corner < normals.size(); ++corner) {
            if (corner % kQuitCheckCorners == 0) base::StopIfQuitRequested();
            normals[corner] = cornerNormal(static_cast<std::int32_t>(corner / 3),
                                           static_cast<std::int32_t>(corner % 3));
        }
    }
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    if (engine::ValidObject(object)) {
        const engine::VE_TObject& o = engine::state.Objects[object];
        for (std::size_t f = 0; f < o.MiniPolygons.size(); ++f) {
            const auto& corners = o.MiniPolygons[f].Indices;
            // The loader keeps only triangles whose vertices exist; a store filled otherwise
            // must not make the list read past the vertices.
            if (std::ranges::any_of(corners, [&](auto k) { return k >= o.Vertices.size(); }))
                continue;
            if (look.greyBeforeEachTriangle) glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
            for (std::size_t c = 0; c < 3; ++c) {
                const engine::TVector3& n = normals[3 * f + c];
                glNormal3f(n.x, n.y, n.z);
                const engine::TVector3& v = o.Vertices[corners[c]];
                glTexCoord2f(static_cast<float>((v.x + look.offset) / look.span),
                             static_cast<float>((v.y + look.offset) / look.span));
                glVertex3f(v.x, v.y, v.z);
            }
        }
    }
    glEnd();
    glEndList();
    return list;
}

} // namespace

std::uint32_t CompileModelList(std::int32_t object, const ListLook& look) {
    const engine::NormalIndex index = engine::BuildNormalIndex(object);
    return Compile(object, look, [&](std::int32_t face, std::int32_t corner) {
        return engine::SmoothedNormal(index, face, corner);
    });
}

std::uint32_t CompileModelListByScan(std::int32_t object, const ListLook& look) {
    return Compile(object, look, [&](std::int32_t face, std::int32_t corner) {
        return engine::SmoothedNormal(object, face, corner);
    });
}

} // namespace render
