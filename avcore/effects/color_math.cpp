#include "avcore/effects/color_math.h"

#include <algorithm>
#include <cmath>

namespace avfx::detail {

Mat34 yuvToRgb(ColorMatrix m)
{
    const double kr = m == ColorMatrix::BT709 ? 0.2126 : 0.299;
    const double kb = m == ColorMatrix::BT709 ? 0.0722 : 0.114;
    const double kg = 1.0 - kr - kb;
    const double ys = 255.0 / 219.0;
    const double cs = 255.0 / 224.0;
    const double rv = cs * 2.0 * (1.0 - kr);
    const double bu = cs * 2.0 * (1.0 - kb);
    const double gu = -bu * kb / kg;
    const double gv = -rv * kr / kg;
    const double c = -16.0 * ys;
    return {{{ys, 0.0, rv, c}, {ys, gu, gv, c}, {ys, bu, 0.0, c}}};
}

Mat34 scaleChroma(const Mat34& base, double saturation, double hueDegrees)
{
    const double a = hueDegrees * 3.14159265358979323846 / 180.0;
    const double cs = std::cos(a) * saturation;
    const double sn = std::sin(a) * saturation;
    // (U, V) -> s * rotation(a) * (U, V), folded into the U and V columns.
    Mat34 out = base;
    for (int r = 0; r < 3; ++r) {
        const double u = base[r][1], v = base[r][2];
        out[r][1] = u * cs + v * sn;
        out[r][2] = -u * sn + v * cs;
    }
    return out;
}

Mat34 mixRgb(const Mat33& mix, const Mat34& base)
{
    Mat34 out{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            out[r][c] = mix[r][0] * base[0][c] + mix[r][1] * base[1][c] + mix[r][2] * base[2][c];
    return out;
}

Mat34 gainOffset(const Mat34& base, const std::array<double, 3>& gain,
                 const std::array<double, 3>& offset)
{
    Mat34 out = base;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c)
            out[r][c] *= gain[r];
        out[r][3] += offset[r];
    }
    return out;
}

ConvCoeffs toFixedPoint(const Mat34& m, bool curveInput)
{
    auto fix = [](double v, double scale, double lo, double hi) {
        return std::lround(std::clamp(v * scale, lo, hi));
    };
    ConvCoeffs k{};
    for (int ch = 0; ch < 3; ++ch) {
        const auto& row = m[2 - ch];  // kernels store B, G, R
        k.ky[ch] = static_cast<uint16_t>(fix(row[0], 2048.0, 0.0, 65535.0));
        k.kt[ch] = static_cast<int16_t>(fix(row[0], 64.0 * 219.0, -32767.0, 32767.0));
        const double constant = curveInput ? row[3] + 16.0 * row[0] : row[3];
        k.ku[ch] = static_cast<int16_t>(fix(row[1], 8192.0, -32767.0, 32767.0));
        k.kv[ch] = static_cast<int16_t>(fix(row[2], 8192.0, -32767.0, 32767.0));
        // The luma high multiply truncates by half a unit on average; +4 rounds the final >> 3.
        k.off[ch] = static_cast<int16_t>(fix(constant + 0.5 / 8.0, 8.0, -32000.0, 32000.0) + 4);
    }
    return k;
}

} // namespace avfx::detail
