#include "avcore/effects/palettes.h"

#include <algorithm>
#include <cmath>

namespace avfx::detail {
namespace {

struct Stop {
    double at;
    double r, g, b;
};

// Stops rise in luminance, so every palette maps darker to darker.
constexpr Stop kFlame[] = {{0.0, 0, 0, 0},        {0.3, 110, 10, 0},    {0.55, 220, 60, 0},
                           {0.78, 255, 160, 20}, {0.92, 255, 240, 150}, {1.0, 255, 255, 255}};
constexpr Stop kIce[] = {{0.0, 0, 0, 0},        {0.3, 0, 20, 80},     {0.55, 20, 90, 190},
                         {0.78, 90, 190, 240}, {0.92, 200, 240, 255}, {1.0, 255, 255, 255}};

template <int N>
void fill(const Stop (&stops)[N], uint32_t table[256])
{
    for (int y = 0; y < 256; ++y) {
        const double t = std::clamp((y - 16) / 219.0, 0.0, 1.0);
        int i = 1;
        while (i < N - 1 && stops[i].at < t)
            ++i;
        const Stop& a = stops[i - 1];
        const Stop& b = stops[i];
        const double f = (t - a.at) / (b.at - a.at);
        auto mix = [f](double p, double q) {
            return static_cast<uint32_t>(std::lround(std::clamp(p + (q - p) * f, 0.0, 255.0)));
        };
        table[y] = mix(a.b, b.b) | (mix(a.g, b.g) << 8) | (mix(a.r, b.r) << 16) | 0xFF000000u;
    }
}

} // namespace

bool buildPalette(int index, uint32_t table[256])
{
    switch (index) {
    case 1:
        fill(kFlame, table);
        return true;
    case 2:
        fill(kIce, table);
        return true;
    default:
        return false;
    }
}

} // namespace avfx::detail
