#include "game/picking.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "game/draw.h"
#include "render/scene_camera.h"
#include "rules/rules.h"

namespace game {

namespace {

constexpr double kModelScale = 0.1; // the scene draws its models at a tenth
constexpr double kCellPitch = 0.9;
constexpr double kNone = std::numeric_limits<double>::infinity();

// The piece model's outline from its foot up, (radius, height) in model units, as it is
// turned about the cell's centre; the radii are rounded up, and the model's rings are polygons
// inside these circles, so the piece as drawn lies within.
constexpr std::array<std::array<double, 2>, 24> kPieceOutline{{
    {3.2500, 0.0000}, {3.4976, 0.1025}, {3.6001, 0.3500}, {3.4976, 0.5975}, {3.2501, 0.7000},
    {3.0001, 0.7800}, {2.4321, 0.9392}, {1.9681, 1.2408}, {1.6081, 1.6848}, {1.3521, 2.2712},
    {1.2001, 3.0000}, {1.8001, 3.1000}, {1.9415, 3.1586}, {2.0001, 3.3000}, {1.9415, 3.4414},
    {1.8001, 3.5000}, {1.0001, 3.5400}, {0.9382, 3.6000}, {1.2096, 4.0233}, {1.3000, 4.5180},
    {1.1959, 5.0099}, {0.9130, 5.4256}, {0.4934, 5.7028}, {0.0000, 5.8000},
}};
constexpr double kPieceRadius =
    std::ranges::max(kPieceOutline, {}, [](const auto& p) { return p[0]; })[0] * kModelScale;
constexpr double kPieceHeight = kPieceOutline.back()[1] * kModelScale;

using Vec = std::array<double, 3>;

struct Span {
    double from, to;
};

// Where the ray's height lies between z0 and z1: an empty span (from > to) where it never does.
Span HeightSpan(const Vec& origin, const Vec& dir, double z0, double z1) {
    if (std::abs(dir[2]) < 1e-12)
        return origin[2] >= z0 && origin[2] <= z1 ? Span{0, 1} : Span{1, 0};
    const double ta = (z0 - origin[2]) / dir[2];
    const double tb = (z1 - origin[2]) / dir[2];
    return {std::max(std::min(ta, tb), 0.0), std::min(std::max(ta, tb), 1.0)};
}

// The first t of the span where a t² + b t + c ≤ 0; kNone where there is none.
double FirstNonPositive(double a, double b, double c, Span span) {
    if (span.from > span.to) return kNone;
    const auto f = [&](double t) { return (a * t + b) * t + c; };
    if (f(span.from) <= 0) return span.from;
    // Positive at the start: the first point where it is not is a root.
    double roots[2] = {kNone, kNone};
    if (std::abs(a) < 1e-12) {
        if (b < 0) roots[0] = -c / b;
    } else {
        const double disc = b * b - 4 * a * c;
        if (disc < 0) return kNone;
        const double q = -0.5 * (b + std::copysign(std::sqrt(disc), b));
        roots[0] = q / a;
        if (q != 0) roots[1] = c / q;
    }
    double first = kNone;
    for (const double t : roots) {
        if (t >= span.from && t <= span.to) first = std::min(first, t);
    }
    return first;
}

// Where the ray enters the piece standing on the board at (cx, cy); kNone where it misses.
double PieceEntry(const Vec& origin, const Vec& dir, double cx, double cy) {
    const double qx = origin[0] - cx, qy = origin[1] - cy;
    const double dd = dir[0] * dir[0] + dir[1] * dir[1];
    const double qd = qx * dir[0] + qy * dir[1];
    const double qq = qx * qx + qy * qy;
    // Most rays pass wide of the cylinder round the piece.
    if (FirstNonPositive(dd, 2 * qd, qq - kPieceRadius * kPieceRadius,
                         HeightSpan(origin, dir, 0, kPieceHeight)) == kNone)
        return kNone;
    double entry = kNone;
    for (std::size_t s = 0; s + 1 < kPieceOutline.size(); ++s) {
        const double r0 = kPieceOutline[s][0] * kModelScale, z0 = kPieceOutline[s][1] * kModelScale;
        const double r1 = kPieceOutline[s + 1][0] * kModelScale;
        const double z1 = kPieceOutline[s + 1][1] * kModelScale;
        // Within the band the radius is linear in t: alpha + beta t.
        const double slope = (r1 - r0) / (z1 - z0);
        const double alpha = r0 + slope * (origin[2] - z0);
        const double beta = slope * dir[2];
        entry =
            std::min(entry, FirstNonPositive(dd - beta * beta, 2 * (qd - alpha * beta),
                                             qq - alpha * alpha, HeightSpan(origin, dir, z0, z1)));
    }
    return entry;
}

// Board index 1..6 of a coordinate on the board's face; 0 beyond the outer cells' far sides.
int FaceIndex(double v) {
    const double fromSide = v - (render::CellOffset(1) - kCellPitch / 2);
    if (!(fromSide >= 0 && fromSide <= 6 * kCellPitch)) return 0;
    return std::min(static_cast<int>(fromSide / kCellPitch) + 1, 6);
}

} // namespace

rules::Cell CellAlong(const render::SightRay& ray, const std::array<std::uint8_t, 36>& board) {
    const Vec& origin = ray.nearPoint;
    const Vec dir{ray.farPoint[0] - origin[0], ray.farPoint[1] - origin[1],
                  ray.farPoint[2] - origin[2]};
    rules::Cell cell;
    double nearest = kNone;
    // The face only from above: a ray from below meets the board's underside first.
    if (dir[2] < 0 && origin[2] >= 0) {
        const double t = -origin[2] / dir[2];
        const int i = FaceIndex(origin[0] + t * dir[0]);
        const int j = FaceIndex(origin[1] + t * dir[1]);
        if (t <= 1 && i != 0 && j != 0) {
            nearest = t;
            cell = {i, j};
        }
    }
    for (int i = 1; i <= 6; ++i) {
        for (int j = 1; j <= 6; ++j) {
            if (board[static_cast<std::size_t>(rules::CellIndex(i, j))] == rules::kEmpty) continue;
            const double t = PieceEntry(origin, dir, render::CellOffset(i), render::CellOffset(j));
            if (t < nearest) {
                nearest = t;
                cell = {i, j};
            }
        }
    }
    return cell;
}

rules::Cell PickCell(WindowCursor cursor) {
    render::SightRay ray;
    if (!render::SightThrough(SceneCamera(), cursor.x, cursor.y, ray)) return {};
    return CellAlong(ray, rules::state.Board);
}

} // namespace game
