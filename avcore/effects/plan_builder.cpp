#include "avcore/effects/plan_builder.h"

#include <algorithm>
#include <cmath>

#include "avcore/effects/color_math.h"
#include "avcore/effects/looks.h"
#include "avcore/effects/palettes.h"
#include "avcore/effects/row_kernels.h"
#include "avcore/effects/textures.h"

namespace avfx::detail {
namespace {

void setupVignette(Plan& p)
{
    // (dx/a)^2 and (dy/b)^2 in Q14 over the frame's inscribed ellipse: corners reach 2.0.
    auto square = [](int i, int n) {
        const double d = (i + 0.5 - n * 0.5) / (n * 0.5);
        return static_cast<uint16_t>(std::lround(std::min(d * d, 1.0) * 16384.0));
    };
    p.vignette.col.assign((p.width + kBlock - 1) / kBlock * kBlock + kBlock, 0);
    for (int x = 0; x < p.width; ++x)
        p.vignette.col[x] = square(x, p.width);
    p.vignette.row.resize(p.height);
    for (int y = 0; y < p.height; ++y)
        p.vignette.row[y] = square(y, p.height);
    // Untouched inside a quarter of the radius^2, then a smooth fall to ~40% in the corners.
    p.vignette.r0 = static_cast<uint16_t>(0.25 * 16384);
    p.vignette.k = static_cast<uint16_t>(0.2 * 262144);
    p.vignette.floor = static_cast<uint16_t>(0.2 * 16384);
}

void setupEffect(Plan& p, int code, ColorMatrix m)
{
    // Codes outside every band, and each family's "none", leave the neutral look.
    const Look look = code >= 0 && code < kTableBand ? lookFor(code) : Look{};
    p.curve = needsCurve(look);
    if (p.curve)
        curveCoefficients(look, p.curveQ);
    p.coeffs = toFixedPoint(lookMatrix(look, m), p.curve);
    p.invert = look.invert;
    if (look.vignette) {
        p.modulate = Modulate::Vignette;
        setupVignette(p);
    }
    if (code >= kTableBand && code < kTableBand + kPaletteCount)
        p.palette = buildPalette(code - kTableBand, p.paletteTable);
    if (code >= kTextureBand && code < kTextureBand + kTextureCount) {
        p.texture = buildTexture(code - kTextureBand);
        if (!p.texture.empty())
            p.modulate = Modulate::Texture;
    }
    const KernelSet k = selectKernels(p.curve, p.modulate, p.invert);
    p.convert = k.convert;
    p.chroma = k.chroma;
    p.paletteRow = k.palette;
}

ShapeKind shapeKind(int shape)
{
    switch (shape) {
    case 1: return ShapeKind::Ellipse;
    case 2: return ShapeKind::Drop;
    default: return ShapeKind::None;
    }
}

} // namespace

void buildPlan(Plan& p, int width, int height, int shape, int effectCode, ColorMatrix m)
{
    p = Plan{};
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension)
        return;
    p.width = width;
    p.height = height;
    setupEffect(p, effectCode, m);
    p.shape.build(shapeKind(shape), width, height);
}

} // namespace avfx::detail
