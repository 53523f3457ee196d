#include "avcore/effects/shape_mask.h"

#include <algorithm>
#include <cmath>

namespace avfx::detail {
namespace {

// The drop: convex hull of an ellipse spanning the full width and the lower
// kDropBody of the height, and its point at the top centre.
constexpr double kDropBody = 0.64;
// Width in pixels over which the edge fades from picture to black.
constexpr double kEdgeWidth = 1.5;

// Distance in a normalised space where the shape's boundary is at 0; only its
// sign and gradient matter, the caller rescales to pixels.
double ellipseField(int w, int h, double px, double py)
{
    const double x = (px - w * 0.5) / (w * 0.5);
    const double y = (py - h * 0.5) / (h * 0.5);
    return std::sqrt(x * x + y * y) - 1.0;
}

// Hull of the unit circle and a point at distance d above its centre, exact
// distance in the circle's space (the circle is the body scaled to round).
double dropField(int w, int h, double px, double py)
{
    const double ry = kDropBody * 0.5;
    const double d = (1.0 - ry) / ry;
    const double x = std::fabs((px - w * 0.5) / (w * 0.5));
    const double y = -((py / h) - (1.0 - ry)) / ry;  // up, towards the point
    const double b = 1.0 / d;
    const double a = std::sqrt(1.0 - b * b);
    const double k = -b * x + a * y;
    if (k < 0.0)
        return std::sqrt(x * x + y * y) - 1.0;
    if (k > a * d)
        return std::sqrt(x * x + (y - d) * (y - d));
    return a * x + b * y - 1.0;
}

double field(ShapeKind kind, int w, int h, double px, double py)
{
    return kind == ShapeKind::Drop ? dropField(w, h, px, py) : ellipseField(w, h, px, py);
}

uint8_t coverageAt(ShapeKind kind, int w, int h, int x, int y)
{
    const double d = shapeDistance(kind, w, h, x + 0.5, y + 0.5);
    const double c = std::clamp(0.5 - d / kEdgeWidth, 0.0, 1.0);
    return static_cast<uint8_t>(std::lround(c * 255.0));
}

} // namespace

double shapeDistance(ShapeKind kind, int width, int height, double px, double py)
{
    if (kind == ShapeKind::None)
        return -1e9;
    // First-order distance: the field over the length of its pixel-space gradient.
    const double e = 0.5;
    const double f = field(kind, width, height, px, py);
    const double gx = (field(kind, width, height, px + e, py) - field(kind, width, height, px - e, py)) / (2 * e);
    const double gy = (field(kind, width, height, px, py + e) - field(kind, width, height, px, py - e)) / (2 * e);
    const double g = std::sqrt(gx * gx + gy * gy);
    if (g < 1e-12)
        return f < 0 ? -1e9 : 1e9;
    return f / g;
}

void ShapeMask::build(ShapeKind k, int w, int h)
{
    kind = k;
    rows.clear();
    edge.clear();
    if (k == ShapeKind::None || w <= 0 || h <= 0)
        return;
    rows.resize(h);
    const int half = (w + 1) / 2;  // left half, with the centre column of an odd width
    for (int y = 0; y < h; ++y) {
        ShapeRow& r = rows[y];
        r.edgeAt = static_cast<int>(edge.size());
        if (coverageAt(k, w, h, half - 1, y) == 0)
            continue;  // the row misses the shape: all black
        // Coverage rises monotonically towards the centre of a convex shape.
        int lo = 0, hi = half - 1;
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (coverageAt(k, w, h, mid, y) > 0)
                hi = mid;
            else
                lo = mid + 1;
        }
        r.outerL = lo;
        int x = lo;
        for (; x < half; ++x) {
            const uint8_t c = coverageAt(k, w, h, x, y);
            if (c == 255)
                break;
            edge.push_back(c);
        }
        r.innerL = x;
        r.outerR = w - r.outerL;
        r.innerR = std::max(w - r.innerL, r.innerL);
    }
}

uint8_t ShapeMask::coverage(int x, int y, int width) const
{
    if (kind == ShapeKind::None)
        return 255;
    if (y < 0 || y >= static_cast<int>(rows.size()) || x < 0 || x >= width)
        return 0;
    const ShapeRow& r = rows[y];
    if (x < r.outerL || x >= r.outerR)
        return 0;
    if (x >= r.innerL && x < r.innerR)
        return 255;
    const int m = x < r.innerL ? x : width - 1 - x;
    return edge[r.edgeAt + m - r.outerL];
}

} // namespace avfx::detail
