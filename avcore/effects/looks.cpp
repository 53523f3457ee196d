#include "avcore/effects/looks.h"

#include <algorithm>
#include <cmath>

namespace avfx::detail {
namespace {

Look make(double midtone, double sCurve, double sat, double hue,
          std::array<double, 3> gain, std::array<double, 3> offset,
          double black = 0.0, double white = 1.0)
{
    Look l;
    l.midtone = midtone;
    l.sCurve = sCurve;
    l.saturation = sat;
    l.hue = hue;
    l.gain = gain;
    l.offset = offset;
    l.black = black;
    l.white = white;
    return l;
}

Look buildLook(int code)
{
    switch (code) {
    case 1: {  // classic: vintage print, red lifted, blue shadows lifted and highlights cut, warm
        Look l = make(0.0, 0.35, 0.8, 0.0, {0.86, 1.0, 0.62}, {26, 0, 52});
        l.black = 0.02;
        return l;
    }
    case 2:  // purple haze
        return make(0.05, 0.1, 0.8, 12.0, {1.02, 0.82, 1.08}, {22, -6, 34}, 0.04, 1.0);
    case 3: {  // nostalgia: sepia
        Look l = make(0.0, 0.15, 1.0, 0.0, {1, 1, 1}, {0, 0, 0}, 0.03, 1.0);
        l.sepia = true;
        return l;
    }
    case 4:  // rock: hard, crushed contrast, punchy colour
        return make(0.0, 0.9, 1.45, 0.0, {1.06, 1.0, 0.97}, {-4, -6, -6}, -0.03, 1.06);
    case 5:  // gothic: dark, drained, cold
        return make(-0.5, 0.4, 0.3, 0.0, {0.88, 0.94, 1.08}, {0, 2, 10});
    case 6:  // HDR: shadows opened, strong S, vivid
        return make(0.35, 0.6, 1.7, 0.0, {1, 1, 1}, {0, 0, 0});
    case 7:  // 80s: faded, cyan shadows, magenta highlights
        return make(0.0, 0.0, 0.85, 0.0, {1.14, 0.86, 1.0}, {-10, 14, 12}, 0.1, 0.9);
    case 8:  // retro: yellowed print, low saturation
        return make(-0.15, 0.2, 0.55, -6.0, {1.0, 0.97, 0.8}, {14, 10, -6}, 0.07, 0.97);
    case 9:  // Paris: soft, bright, pastel pink
        return make(0.3, -0.35, 0.65, 0.0, {1.0, 0.94, 0.98}, {18, 2, 14}, 0.1, 1.0);
    case 10:  // black and white
        return make(0.0, 0.1, 0.0, 0.0, {1, 1, 1}, {0, 0, 0});
    case 11:  // impression: soft, colours shifted as in a painting
        return make(0.15, -0.25, 1.25, 28.0, {1.0, 1.03, 0.96}, {6, 8, 0}, 0.05, 1.0);
    case 12:  // film: toe and shoulder, teal shadows, warm highlights
        return make(-0.05, 0.55, 0.9, 0.0, {1.06, 1.0, 0.9}, {-6, 0, 10}, 0.03, 0.97);
    case 13:  // deep-blue rain: darker, blue, muted
        return make(-0.4, 0.15, 0.55, 0.0, {0.78, 0.9, 1.12}, {0, 4, 22});
    case 14: {  // yellowed vignette
        Look l = make(0.0, 0.1, 0.75, 0.0, {1.04, 1.0, 0.78}, {14, 8, -8});
        l.vignette = true;
        return l;
    }
    case 15: {  // inverted colours
        Look l;
        l.invert = true;
        return l;
    }
    default:
        return Look{};
    }
}

} // namespace

Look lookFor(int code)
{
    return code >= 0 && code < kLookCount ? buildLook(code) : Look{};
}

bool needsCurve(const Look& look)
{
    return look.midtone != 0.0 || look.sCurve != 0.0;
}

double toneCurve(const Look& look, double t)
{
    return t + look.sCurve * (3 * t * t - 2 * t * t * t - t) + look.midtone * (t - t * t);
}

void curveCoefficients(const Look& look, int16_t q[4])
{
    const double s = look.sCurve, g = look.midtone;
    const double a[4] = {0.0, 1.0 - s + g, 3.0 * s - g, -2.0 * s};
    // The kernels feed t' = min(Y-16, 219) * 149 / 32768, slightly short of Y-16 / 219.
    const double stretch = 32768.0 / (149.0 * 219.0);
    double p = 1.0;
    for (int i = 0; i < 4; ++i, p *= stretch)
        q[i] = static_cast<int16_t>(std::lround(std::clamp(a[i] * p / 4.0 * 32768.0, -32767.0, 32767.0)));
}

Mat34 lookMatrix(const Look& look, ColorMatrix cm)
{
    Mat34 m = scaleChroma(yuvToRgb(cm), look.saturation, look.hue);
    if (look.sepia) {
        const Mat33 sepia{{{0.393, 0.769, 0.189}, {0.349, 0.686, 0.168}, {0.272, 0.534, 0.131}}};
        m = mixRgb(sepia, m);
    }
    m = gainOffset(m, look.gain, look.offset);
    const double span = look.white - look.black;
    return gainOffset(m, {span, span, span}, {255 * look.black, 255 * look.black, 255 * look.black});
}

} // namespace avfx::detail
