// The fifteen LOMO looks (codes 1..15) as tone curve + chroma + RGB transforms.
#pragma once
#include <array>
#include <cstdint>

#include "avcore/effects/color_math.h"

namespace avfx::detail {

struct Look {
    // Tone curve f(t) = t + sCurve*(3t^2 - 2t^3 - t) + midtone*(t - t^2), t the luma
    // on 0..1; a cubic, so the kernels evaluate it exactly. |midtone| <= 1 - |sCurve|
    // keeps it rising.
    double midtone = 0.0;      // > 0 brightens the mids, < 0 darkens them
    double sCurve = 0.0;       // > 0 more contrast, < 0 softer
    double saturation = 1.0;
    double hue = 0.0;          // degrees of rotation in the UV plane
    bool sepia = false;        // classic sepia channel mix
    std::array<double, 3> gain{1.0, 1.0, 1.0};    // R, G, B
    std::array<double, 3> offset{0.0, 0.0, 0.0};  // R, G, B on 0..255
    double black = 0.0;        // output levels: faded blacks above 0
    double white = 1.0;        // and dimmed whites below 1
    bool vignette = false;
    bool invert = false;
};

constexpr int kLookCount = 16;  // 0 none, 1..15 looks

Look lookFor(int code);               // code outside 0..15 gives the neutral look
bool needsCurve(const Look& look);
double toneCurve(const Look& look, double t);           // f(t), for tests and tables
void curveCoefficients(const Look& look, int16_t q[4]);  // the kernels' form, see Plan::curveQ
Mat34 lookMatrix(const Look& look, ColorMatrix m);

} // namespace avfx::detail
