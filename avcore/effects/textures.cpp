#include "avcore/effects/textures.h"

#include <algorithm>
#include <cmath>

#include "avcore/effects/effect_plan.h"

namespace avfx::detail {
namespace {

constexpr double kPi = 3.14159265358979323846;

double hashUnit(int x, int y, uint32_t seed)  // deterministic noise in [-1, 1]
{
    uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^
                 seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x85ebca6bu;
    h ^= h >> 16;
    h *= 0xc2b2ae35u;
    h ^= h >> 15;
    return h / 2147483647.5 - 1.0;
}

// Smooth value noise whose lattice repeats every cx by cy cells across the tile.
double valueNoise(double x, double y, int cx, int cy, uint32_t seed)
{
    const double fx = x * cx / kTile, fy = y * cy / kTile;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    double tx = fx - ix, ty = fy - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto at = [&](int i, int j) { return hashUnit(((i % cx) + cx) % cx, ((j % cy) + cy) % cy, seed); };
    const double a = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
    const double b = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
    return a + (b - a) * ty;
}

double fractal(double x, double y, int cx, int cy, int octaves, uint32_t seed)
{
    double sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o, cx *= 2, cy *= 2, amp *= 0.5) {
        sum += amp * valueNoise(x, y, cx, cy, seed + o);
        norm += amp;
    }
    return sum / norm;
}

double wave(double v, double period) { return std::cos(2 * kPi * v / period); }

struct Texture {
    double amount;  // how far the factor swings from 1
    double (*value)(int x, int y);  // roughly -1..1
};

double canvas(int x, int y)  // over-under weave of 8-pixel threads
{
    const bool across = (((x / 8) + (y / 8)) & 1) != 0;
    const double thread = across ? wave(y + 4, 8) : wave(x + 4, 8);
    return 0.7 * thread + 0.3 * fractal(x, y, 16, 16, 3, 11);
}
double paper(int x, int y) { return fractal(x, y, 8, 8, 5, 23); }
double crosshatch(int x, int y)
{
    auto line = [](int v) { return std::pow(std::max(0.0, wave(v, 8)), 6.0); };
    return 0.6 - 1.2 * std::max(line(x + y), line(x - y + kTile));
}
double dots(int x, int y)  // halftone dots on an 8-pixel grid
{
    const double dx = (x % 8) - 3.5, dy = (y % 8) - 3.5;
    const double r = std::sqrt(dx * dx + dy * dy);
    return std::clamp(r - 2.2, -1.0, 1.0);
}
double brushedMetal(int x, int y)  // streaks along x, fine across y
{
    return 0.7 * fractal(x, y, 2, 32, 3, 37) + 0.3 * fractal(x, y, 8, 64, 1, 41);
}
double linen(int x, int y)
{
    return 0.5 * fractal(x, 0.0, 64, 1, 2, 53) + 0.5 * fractal(0.0, y, 1, 64, 2, 59);
}
double bricks(int x, int y)  // 32x16 courses, offset by half a brick, 2-pixel mortar
{
    const int row = y / 16;
    const int bx = (x + (row & 1) * 16) % 32;
    const bool mortar = (y % 16) < 2 || bx < 2;
    return mortar ? -1.0 : 0.3 + 0.4 * fractal(x, y, 16, 16, 2, 67);
}
double scanlines(int, int y) { return (y % 4) == 3 ? -1.0 : 0.25; }
double mesh(int x, int y)  // diamond lattice, 16-pixel cells
{
    const int a = std::abs(((x + y) % 16) - 8), b = std::abs((((x - y) % 16) + 16) % 16 - 8);
    return std::min(a, b) <= 1 ? -1.0 : 0.2;
}
double grain(int x, int y) { return 0.8 * hashUnit(x, y, 71) + 0.2 * valueNoise(x, y, 32, 32, 73); }

constexpr Texture kTextures[kTextureCount - 1] = {
    {0.18, canvas}, {0.14, paper},  {0.22, crosshatch}, {0.25, dots},  {0.18, brushedMetal},
    {0.16, linen},  {0.2, bricks},  {0.3, scanlines},   {0.25, mesh}, {0.16, grain},
};

} // namespace

std::vector<int16_t> buildTexture(int index)
{
    if (index < 1 || index >= kTextureCount)
        return {};
    const Texture& t = kTextures[index - 1];
    std::vector<int16_t> tile(kTile * kTile);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const double f = std::clamp(1.0 + t.amount * t.value(x, y), 0.25, 1.5);
            tile[y * kTile + x] = static_cast<int16_t>(std::lround(f * 16384.0));
        }
    return tile;
}

} // namespace avfx::detail
