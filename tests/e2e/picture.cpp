#include "e2e/picture.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include "avcore/effects/shape_mask.h"

namespace e2e {

RECT InnerBox(const RECT& region) {
    const LONG w = region.right - region.left, h = region.bottom - region.top;
    return {region.left + w / 5, region.top + h / 5, region.right - w / 5, region.bottom - h / 5};
}

namespace {

int Channel(uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

bool Near(uint32_t p, uint32_t rgb, int tolerance) {
    for (int shift : {16, 8, 0})
        if (std::abs(Channel(p, shift) - Channel(rgb, shift)) > tolerance) return false;
    return true;
}

// 0..5 for a saturated pixel by which channels stand high, -1 for grey, dark or pale.
int HueClass(uint32_t rgb) {
    const int r = Channel(rgb, 16), g = Channel(rgb, 8), b = Channel(rgb, 0);
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
    if (hi < 150 || hi - lo < 100) return -1;
    const int cut = hi * 6 / 10;
    // By the channels standing high (red 4, green 2, blue 1): red 0, yellow 1, green 2,
    // cyan 3, blue 4, magenta 5; none or all, -1.
    static constexpr int kClassOf[8] = {-1, 4, 2, 3, 0, 5, 1, -1};
    return kClassOf[(r > cut ? 4 : 0) | (g > cut ? 2 : 0) | (b > cut ? 1 : 0)];
}

template <typename F>
void ForEachPixel(const testsupport::Shot& shot, const RECT& rc, F f) {
    for (LONG y = std::max(0L, rc.top); y < std::min(static_cast<LONG>(shot.height), rc.bottom); ++y)
        for (LONG x = std::max(0L, rc.left); x < std::min(static_cast<LONG>(shot.width), rc.right); ++x) f(shot.At(x, y));
}

} // namespace

int HueClasses(const testsupport::Shot& shot, const RECT& rc) {
    std::array<long, 6> counts{};
    long total = 0;
    ForEachPixel(shot, rc, [&](uint32_t p) {
        ++total;
        if (int c = HueClass(p); c >= 0) ++counts[c];
    });
    return static_cast<int>(std::count_if(counts.begin(), counts.end(), [&](long n) { return total > 0 && n * 20 >= total; }));
}

double ShareNear(const testsupport::Shot& shot, const RECT& rc, uint32_t rgb, int tolerance) {
    long close = 0, total = 0;
    ForEachPixel(shot, rc, [&](uint32_t p) {
        ++total;
        if (Near(p, rgb, tolerance)) ++close;
    });
    return total ? static_cast<double>(close) / total : 0.0;
}

double OutlineAgreement(const testsupport::Shot& shot, const RECT& picture, Outline outline, uint32_t rgb, double margin) {
    const auto kind = outline == Outline::Drop ? avfx::detail::ShapeKind::Drop : avfx::detail::ShapeKind::Ellipse;
    const int w = picture.right - picture.left, h = picture.bottom - picture.top;
    long agree = 0, judged = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int sx = picture.left + x, sy = picture.top + y;
            if (sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height) continue;
            const double d = avfx::detail::shapeDistance(kind, w, h, x + 0.5, y + 0.5);
            if (std::abs(d) < margin) continue;
            ++judged;
            if (Near(shot.At(sx, sy), d < 0 ? rgb : 0, 40)) ++agree;
        }
    }
    return judged ? static_cast<double>(agree) / judged : 0.0;
}

} // namespace e2e
