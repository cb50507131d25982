// The generator's own parts: picture encoding, palettes, resampling, text wrapping,
// noise that tiles, and the mesh checks that guard the models.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/bmp.h"
#include "tools/assetgen/bmp_writer.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/mesh.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/piece_model.h"
#include "tools/assetgen/text.h"

namespace {

using namespace assetgen;

// A canvas of `colours` distinct colours, deterministic.
Canvas Patchwork(int width, int height, int colours) {
    Canvas c = MakeCanvas(width, height);
    Rng rng{42};
    std::vector<Rgb> palette;
    for (int i = 0; i < colours; ++i)
        palette.push_back({static_cast<float>(NextBits(rng) % 256) / 255.0f,
                           static_cast<float>(NextBits(rng) % 256) / 255.0f,
                           static_cast<float>(NextBits(rng) % 256) / 255.0f});
    for (Rgb& p : c.pixels)
        p = palette[NextBits(rng) % palette.size()];
    return c;
}

// The decoded pixel (x, y) counted from the top, as the canvas counts.
std::array<int, 3> Decoded(const engine::Picture& p, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(p.height - 1 - y) * p.width + x) * 3;
    return {p.rgb[at], p.rgb[at + 1], p.rgb[at + 2]};
}

std::array<int, 3> Bytes(const Rgb& c) {
    return {ToByte(c.r), ToByte(c.g), ToByte(c.b)};
}

TEST(BmpEncoding, BothFormsReadBackThroughTheGamesDecoder) {
    // Odd widths need row padding in the 8-bit form.
    for (const int width : {1, 5, 6, 7, 64}) {
        const Canvas few = Patchwork(width, 3, 200);
        const auto paletted = engine::DecodeBmp(EncodeBmp8(Quantize(few)));
        ASSERT_TRUE(paletted.has_value()) << width;
        ASSERT_EQ(paletted->width, width);
        ASSERT_EQ(paletted->height, 3);
        const Canvas many = Patchwork(width, 3, 5000);
        const auto trueColour = engine::DecodeBmp(EncodeBmp32(many));
        ASSERT_TRUE(trueColour.has_value()) << width;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x) {
                EXPECT_EQ(Decoded(*paletted, x, y), Bytes(At(few, x, y)))
                    << width << ": " << x << "," << y;
                EXPECT_EQ(Decoded(*trueColour, x, y), Bytes(At(many, x, y)))
                    << width << ": " << x << "," << y;
            }
    }
}

TEST(Quantize, KeepsAFewColoursExactlyAndApproximatesMany) {
    const Canvas few = Patchwork(32, 32, 256);
    const IndexedPicture exact = Quantize(few);
    ASSERT_LE(exact.palette.size(), 256u);
    for (std::size_t i = 0; i < few.pixels.size(); ++i) {
        const auto& entry = exact.palette.at(exact.indices[i]);
        EXPECT_EQ((std::array<int, 3>{entry[0], entry[1], entry[2]}), Bytes(few.pixels[i]));
    }
    // A smooth ramp of 4096 shades: 256 entries keep every pixel within a few levels.
    Canvas ramp = MakeCanvas(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            At(ramp, x, y) = {x / 63.0f, y / 63.0f, 0.5f};
    const IndexedPicture approx = Quantize(ramp);
    ASSERT_LE(approx.palette.size(), 256u);
    int worst = 0;
    for (std::size_t i = 0; i < ramp.pixels.size(); ++i) {
        const auto& entry = approx.palette.at(approx.indices[i]);
        const auto want = Bytes(ramp.pixels[i]);
        for (int c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(entry[c] - want[c]));
    }
    EXPECT_LE(worst, 12);
    EXPECT_THROW(Quantize(ramp, 0), std::invalid_argument);
    EXPECT_THROW(Quantize(ramp, 257), std::invalid_argument);
}

TEST(Resample, KeepsFlatAreasFlatAndTheAverageUnchanged) {
    Canvas c = MakeCanvas(300, 150, {0.25f, 0.5f, 0.75f});
    const Canvas flat = Resample(c, 128, 64);
    for (const Rgb& p : flat.pixels) {
        EXPECT_NEAR(p.r, 0.25f, 1e-4f);
        EXPECT_NEAR(p.b, 0.75f, 1e-4f);
    }
    // Stripes one pixel wide average to grey at any ratio.
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            At(c, x, y) = x % 2 ? Rgb{1, 1, 1} : Rgb{0, 0, 0};
    const Canvas grey = Resample(c, 100, 100);
    double sum = 0;
    for (const Rgb& p : grey.pixels) {
        EXPECT_GE(p.g, 0.33f);
        EXPECT_LE(p.g, 0.67f);
        sum += p.g;
    }
    EXPECT_NEAR(sum / static_cast<double>(grey.pixels.size()), 0.5, 0.01);
}

TEST(Noise, RepeatsWithItsPeriodSoTiledPicturesHaveNoSeam) {
    for (float x = 0.1f; x < 8.0f; x += 0.7f)
        for (float y = 0.05f; y < 8.0f; y += 0.9f) {
            EXPECT_NEAR(Noise2(7, x, y, 8), Noise2(7, x + 8.0f, y, 8), 1e-4f);
            EXPECT_NEAR(Noise2(7, x, y, 8), Noise2(7, x, y - 8.0f, 8), 1e-4f);
            EXPECT_NEAR(Fbm2(7, x, y, 4, 0.5f, 8), Fbm2(7, x + 8.0f, y + 8.0f, 4, 0.5f, 8), 1e-4f);
        }
    Rng a{5}, b{5};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(NextBits(a), NextBits(b));
}

Mesh Tetrahedron() {
    Mesh m;
    AddVertex(m, {0, 0, 0});
    AddVertex(m, {1, 0, 0});
    AddVertex(m, {0, 1, 0});
    AddVertex(m, {0, 0, 1});
    AddTriangle(m, 0, 2, 1);
    AddTriangle(m, 0, 1, 3);
    AddTriangle(m, 0, 3, 2);
    AddTriangle(m, 1, 2, 3);
    return m;
}

TEST(MeshChecks, FindHolesFlippedFacesAndSlivers) {
    EXPECT_NO_THROW(RequireSound(Tetrahedron(), "tetrahedron"));

    Mesh open = Tetrahedron();
    open.faces.pop_back();
    EXPECT_EQ(Inspect(open).openEdges, 3u);
    EXPECT_THROW(RequireSound(open, "open"), std::logic_error);

    Mesh flipped = Tetrahedron();
    std::swap(flipped.faces[3][1], flipped.faces[3][2]);
    EXPECT_GT(Inspect(flipped).overusedEdges, 0u);

    Mesh sliver = Tetrahedron();
    sliver.vertices[3] = {0.5f, 0.5f, 0.0f}; // now in the plane of the others
    sliver.vertices[2] = {1.0f, 1.0f, 0.0f};
    EXPECT_GT(Inspect(sliver).degenerate, 0u);
}

TEST(MeshChecks, RevolvedBodiesAreClosedAndProfilesMustEndOnTheAxis) {
    const Mesh cone = Revolve({{0, 0}, {2, 0}, {1, 1}, {0, 2}}, {12, 12});
    EXPECT_NO_THROW(RequireSound(cone, "cone"));
    EXPECT_EQ(cone.faces.size(), 12u * 2 * 2);
    EXPECT_THROW(Revolve({{0, 0}, {2, 0}, {1, 1}}, {12}), std::invalid_argument);
    EXPECT_THROW(Revolve({{0, 0}, {2, 0}, {1, 1}, {0, 2}}, {12}), std::invalid_argument);
    EXPECT_THROW(Revolve({{0, 0}, {2, 0}, {1, 1}, {0, 2}}, {12, 2}), std::invalid_argument);
    // Rings of different sides, fewer or more going up, and sides that share no corner
    // angle but the first: zipped without a crack, one triangle for each side of either ring.
    for (const auto& [lower, upper] : {std::pair{12, 7}, {7, 12}, {24, 18}, {5, 6}}) {
        const Mesh zipped = Revolve({{0, 0}, {2, 0}, {1, 1}, {0, 2}}, {lower, upper});
        EXPECT_NO_THROW(RequireSound(zipped, "zipped cone")) << lower << " to " << upper;
        EXPECT_EQ(zipped.faces.size(), std::size_t(2 * (lower + upper)));
    }
    // The model format counts vertices in 16 bits.
    Mesh big;
    for (int i = 0; i < 65535; ++i)
        AddVertex(big, {0, 0, static_cast<float>(i)});
    EXPECT_THROW(AddVertex(big, {0, 0, 0}), std::length_error);
}

// A translucent piece blends its faces in the order they come, so they come round the axis
// column by column, from the foot to the top in each, whatever the rings' sides.
TEST(MeshChecks, RevolvedFacesGoRoundTheAxisColumnByColumn) {
    const std::vector<std::array<float, 2>> profile{{0, 0}, {2, 0}, {2, 1}, {1, 2}, {0, 3}};
    for (const std::vector<int>& sides : {std::vector{12, 12, 12}, {12, 8, 6}, {6, 12, 9}}) {
        const Mesh body = Revolve(profile, sides);
        const double column = 2 * std::numbers::pi / 12;
        double previous = 0.0;
        for (const auto& face : body.faces) {
            double x = 0, y = 0;
            for (const auto k : face) {
                x += body.vertices[k].x;
                y += body.vertices[k].y;
            }
            double angle = std::atan2(y, x);
            if (angle < -1e-6) angle += 2 * std::numbers::pi;
            EXPECT_GT(angle, previous - column) << "a face goes back round the axis with sides "
                                                << sides[0] << ", " << sides[1] << ", " << sides[2];
            previous = std::max(previous, angle);
        }
    }
}

TEST(Text, WrappedLinesFitAndKeepEveryWord) {
    const TextLibrary library;
    const Font font = OpenFont(Weight::Regular, 24);
    const std::string paragraph =
        "Whoever first holds all four corners of a square wins, upright or tilted, "
        "and an extraordinarily-long-word-that-cannot-fit stays whole.";
    const std::vector<std::string> lines = WrapText(font.get(), paragraph, 220);
    ASSERT_GT(lines.size(), 2u);
    std::string joined;
    for (const std::string& line : lines) {
        if (line.find(' ') != std::string::npos) {
            EXPECT_LE(TextWidth(font.get(), line), 220) << line;
        }
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, paragraph);
    EXPECT_TRUE(WrapText(font.get(), "", 100).empty());
    const TextMask mask = RenderText(font.get(), "Koravex");
    EXPECT_EQ(mask.width, TextWidth(font.get(), "Koravex"));
    EXPECT_EQ(mask.coverage.size(), static_cast<std::size_t>(mask.width) * mask.height);
}

} // namespace
