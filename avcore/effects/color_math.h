// Colour transforms as 3x4 matrices on (Y, U-128, V-128, 1) and the fixed-point
// form the kernels use.
#pragma once
#include <array>

#include "avcore/effects/effect_plan.h"
#include "avcore/effects/frame_pipeline.h"

namespace avfx::detail {

// Rows R, G, B; columns Y, U-128, V-128, constant; outputs on a 0..255 scale.
using Mat34 = std::array<std::array<double, 4>, 3>;
// A 3x3 colour mix on RGB, rows R, G, B.
using Mat33 = std::array<std::array<double, 3>, 3>;

Mat34 yuvToRgb(ColorMatrix m);                       // limited range to full-range RGB
Mat34 scaleChroma(const Mat34& base, double saturation, double hueDegrees);
Mat34 mixRgb(const Mat33& mix, const Mat34& base);   // RGB' = mix * RGB
Mat34 gainOffset(const Mat34& base, const std::array<double, 3>& gain,
                 const std::array<double, 3>& offset);  // per channel RGB' = g*RGB + o
// With curveInput the luma column applies to 16 + 219 * curve(t), see ConvCoeffs.
ConvCoeffs toFixedPoint(const Mat34& m, bool curveInput);

} // namespace avfx::detail
