#include "engine/model3ds.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "base/failure.h"
#include "base/report.h"
#include "engine/store.h"

namespace engine {
namespace {

constexpr std::uint16_t kMainChunk = 0x4D4D;
constexpr std::uint16_t kVersion = 0x0002;
constexpr std::uint16_t kEditor = 0x3D3D;
constexpr std::uint16_t kMaterialEntry = 0xAFFF;
constexpr std::uint16_t kMaterialName = 0xA000;
constexpr std::uint16_t kDiffuse = 0xA020;
constexpr std::uint16_t kNamedObject = 0x4000;
constexpr std::uint16_t kTriangleMesh = 0x4100;
constexpr std::uint16_t kVertexList = 0x4110;
constexpr std::uint16_t kFaceList = 0x4120;
constexpr std::uint16_t kFaceMaterial = 0x4130;
constexpr std::uint16_t kColourFloats = 0x0010;
constexpr std::uint16_t kColourBytes = 0x0011;

constexpr std::size_t kHeader = 6;
// Materials kept per model, far above any real model's: later ones are passed over, so that a
// model made of names costs no more than this many.
constexpr std::size_t kMaxMaterials = 4096;

struct TMaterial {
    float Red = 0.0f;
    float Green = 0.0f;
    float Blue = 0.0f;
    std::string Name;
};

// The working state of one load; gone when the load returns.
struct Walk {
    Walk(ObjectStore& store, std::span<const std::uint8_t> bytes, bool miniPolygons)
        : objects(store), data(bytes), mini(miniPolygons) {}

    ObjectStore& objects; // the store being filled
    std::span<const std::uint8_t> data;
    bool mini = true;
    std::vector<TMaterial> materials;
    std::unordered_map<std::string, std::size_t> lastNamed; // name -> its latest material
    bool materialPassedOver = false; // the material being read is beyond kMaxMaterials
    std::int32_t current = -1;       // the object being filled
    // Element index of each face of the current object's latest face list; -1 for skipped faces.
    std::vector<std::int32_t> faceElements;

    base::ByteCursor At(std::size_t pos) const {
        base::ByteCursor cursor(data);
        cursor.Seek(std::min(pos, data.size()));
        return cursor;
    }
    // How many records of `bytes` each fit between `from` and the end of the block.
    std::size_t Fitting(std::size_t from, std::size_t bytes) const {
        return from >= data.size() ? 0 : (data.size() - from) / bytes;
    }
};

std::size_t MaterialName(Walk& walk, std::size_t pos) {
    auto cursor = walk.At(pos + kHeader);
    ZString name = ReadZString(cursor, 0);
    const std::size_t consumed = name.consumed;
    walk.materialPassedOver = walk.materials.size() == kMaxMaterials;
    if (!walk.materialPassedOver) {
        walk.lastNamed[name.text] = walk.materials.size();
        walk.materials.push_back(TMaterial{0.0f, 0.0f, 0.0f, std::move(name.text)});
    }
    return pos + kHeader + consumed;
}

void Diffuse(Walk& walk, std::size_t pos) {
    if (walk.materials.empty() || walk.materialPassedOver) return;
    auto cursor = walk.At(pos + kHeader);
    const auto id = cursor.U16();
    if (!id || !cursor.Skip(4)) return;
    TMaterial& m = walk.materials.back();
    if (*id == kColourFloats) {
        const auto r = cursor.F32(), g = cursor.F32(), b = cursor.F32();
        if (!r || !g || !b) return;
        m.Red = *r;
        m.Green = *g;
        m.Blue = *b;
    } else if (*id == kColourBytes) {
        const auto r = cursor.U8(), g = cursor.U8(), b = cursor.U8();
        if (!r || !g || !b) return;
        m.Red = static_cast<float>(*r / 255.0);
        m.Green = static_cast<float>(*g / 255.0);
        m.Blue = static_cast<float>(*b / 255.0);
    }
}

std::size_t NamedObject(Walk& walk, std::size_t pos) {
    auto cursor = walk.At(pos + kHeader);
    ZString name = ReadZString(cursor, 0);
    walk.current = NewObject(walk.objects, 0, 0, 0, 0);
    walk.faceElements.clear();
    if (ValidObject(walk.objects, walk.current))
        walk.objects[walk.current].Name = std::move(name.text);
    return pos + kHeader + name.consumed;
}

std::size_t VertexList(Walk& walk, std::size_t pos) {
    auto cursor = walk.At(pos + kHeader);
    const std::size_t count =
        std::min<std::size_t>(cursor.U16().value_or(0), walk.Fitting(pos + 8, 12));
    cursor.Seek(pos + 8);
    for (std::size_t i = 0; i < count; ++i) {
        TVector3 v;
        v.x = *cursor.F32();
        v.y = *cursor.F32();
        v.z = *cursor.F32();
        // A second list in one object appends: no vertex is written twice.
        const std::int32_t added = AddVertex(walk.objects, walk.current);
        if (added >= 0) walk.objects[walk.current].Vertices[added] = v;
    }
    return pos + 8 + 12 * count;
}

std::size_t FaceList(Walk& walk, std::size_t pos) {
    auto cursor = walk.At(pos + kHeader);
    const std::size_t count =
        std::min<std::size_t>(cursor.U16().value_or(0), walk.Fitting(pos + 8, 8));
    cursor.Seek(pos + 8);
    walk.faceElements.assign(count, -1);
    for (std::size_t i = 0; i < count; ++i) {
        const std::array<std::uint16_t, 3> corners{*cursor.U16(), *cursor.U16(), *cursor.U16()};
        cursor.Skip(2); // face flags
        if (!ValidObject(walk.objects, walk.current)) continue;
        const std::uint16_t vertices = walk.objects[walk.current].VertexCount();
        if (std::ranges::any_of(corners, [&](std::uint16_t k) { return k >= vertices; })) continue;
        if (walk.mini) {
            const std::int32_t added = AddMiniPolygon(walk.objects, walk.current);
            if (added < 0) continue;
            walk.objects[walk.current].MiniPolygons[added].Indices = corners;
            walk.faceElements[i] = added;
        } else {
            const std::int32_t added = AddPolygon(walk.objects, walk.current, 3);
            if (added < 0) continue;
            std::ranges::copy(corners, walk.objects[walk.current].Polygons[added].Indices.begin());
            walk.faceElements[i] = added;
        }
    }
    return pos + 8 + 8 * count;
}

void ColourFace(const Walk& walk, std::int32_t element, const TMaterial& m) {
    VE_TObject& object = walk.objects[walk.current];
    if (walk.mini) {
        TMiniPolygon& t = object.MiniPolygons[element];
        t.Red = m.Red;
        t.Green = m.Green;
        t.Blue = m.Blue;
    } else {
        VE_TPolygon& p = object.Polygons[element];
        for (std::size_t c = 0; c < 3; ++c) {
            p.Red[c] = m.Red;
            p.Green[c] = m.Green;
            p.Blue[c] = m.Blue;
        }
    }
}

std::size_t FaceMaterial(Walk& walk, std::size_t pos) {
    auto cursor = walk.At(pos + kHeader);
    const ZString name = ReadZString(cursor, 0);
    const std::size_t count =
        std::min<std::size_t>(cursor.U16().value_or(0), cursor.Remaining() / 2);
    // A name that matches no material colours nothing, rather than reusing an earlier match.
    const auto found = walk.lastNamed.find(name.text);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t face = *cursor.U16();
        if (found == walk.lastNamed.end() || !ValidObject(walk.objects, walk.current)) continue;
        if (face >= walk.faceElements.size() || walk.faceElements[face] < 0) continue;
        ColourFace(walk, walk.faceElements[face], walk.materials[found->second]);
    }
    return pos + kHeader + name.consumed + 2 + 2 * count;
}

// Chunks whose header the walk passes to read what they hold; a named object holds its name,
// then its mesh.
bool StepsIn(std::uint16_t id) {
    return id == kMainChunk || id == kEditor || id == kMaterialEntry || id == kNamedObject ||
           id == kTriangleMesh;
}

} // namespace

ZString ReadZString(base::ByteCursor& source, std::uint8_t limit) {
    const std::uint16_t max = limit == 0 ? 255 : limit;
    ZString out;
    while (out.consumed < max) {
        const auto byte = source.U8();
        if (!byte) break;
        ++out.consumed;
        if (*byte == 0) break;
        out.text.push_back(static_cast<char>(*byte));
    }
    return out;
}

void Load3DSFromMemory(std::span<const std::uint8_t> data, const std::string& fileName,
                       std::uint8_t miniPolygons, ObjectStore& store) {
    // A report during the walk empties the store only once the walk has returned; the walk
    // writes nothing after it.
    const base::LoadScope load;
    Walk walk(store, data, miniPolygons != 0);

    if (walk.At(0).U16() != kMainChunk)
        base::ShowEngineError("This file isn't a valid 3DS format file: " +
                                base::PrintableText(fileName));

    // Every step moves forward by at least a header, so the walk always ends.
    std::size_t pos = 0;
    while (pos < data.size() && !load.Reported()) {
        auto cursor = walk.At(pos);
        const auto id = cursor.U16();
        const auto length = cursor.U32();
        if (!id || !length) break;
        // The walk never uses the length of a chunk it steps into, and writers get those
        // lengths wrong: such a length only has to leave its header inside the block.
        if (!StepsIn(*id) && (*length < kHeader || *length > data.size() - pos)) break;
        switch (*id) {
        case kMainChunk:
        case kEditor:
        case kMaterialEntry:
        case kTriangleMesh:
            pos += kHeader;
            break;
        case kVersion:
            pos += 10;
            break;
        case kMaterialName:
            pos = MaterialName(walk, pos);
            break;
        case kDiffuse:
            Diffuse(walk, pos);
            pos += *length;
            break;
        case kNamedObject:
            pos = NamedObject(walk, pos);
            break;
        case kVertexList:
            pos = VertexList(walk, pos);
            break;
        case kFaceList:
            pos = FaceList(walk, pos);
            break;
        case kFaceMaterial:
            pos = FaceMaterial(walk, pos);
            break;
        default:
            pos += *length;
            break;
        }
    }
}

} // namespace engine
