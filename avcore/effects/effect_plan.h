// Internal: everything configure() precomputes for one (size, shape, effect).
// The row kernels read only this, never the public effect codes.
#pragma once
#include <cstdint>
#include <vector>

#include "avcore/effects/shape_mask.h"

namespace avfx::detail {

constexpr int kTile = 128;       // texture tile edge in pixels (power of two)
constexpr int kBlock = 16;       // pixels per SIMD block
constexpr int kMaxDimension = 16384;

// Fixed-point conversion, per output channel in B, G, R order:
//   v8 = mulhi_u16(Y << 8, ky) + mulhi_s16((U-128) << 6, ku) + mulhi_s16((V-128) << 6, kv) + off
//   out = clamp(v8 >> 3)
// so v8 carries three fraction bits and off already holds the rounding half.
// With a tone curve the luma term is mulhi_s16(curve(Y), kt) instead, curve(Y)
// being the cubic of Plan::curve in Q13 (8192 = white) and off lacking the 16 black level.
struct ConvCoeffs {
    uint16_t ky[3];  // luma gain x2048 (non-negative)
    int16_t kt[3];   // luma gain per unit of curve output, x64*219
    int16_t ku[3];   // U gain x8192, |gain| < 4
    int16_t kv[3];   // V gain x8192
    int16_t off[3];  // offset in 1/8 units
};

// Per-pixel multiplier applied to the colour before it is clamped.
enum class Modulate { None, Vignette, Texture };

// Fast vignette: factor = max(floor, 1 - k * max(0, r2 - r0)^2), r2 = col[x] + row[y] (Q14).
struct VignetteParams {
    std::vector<uint16_t> col;  // (dx/a)^2 per column, Q14, padded to whole blocks
    std::vector<uint16_t> row;  // (dy/b)^2 per row, Q14
    uint16_t r0 = 0;            // radius^2 where darkening starts, Q14
    uint16_t k = 0;             // strength, scaled for the Q12 square
    uint16_t floor = 0;         // minimum factor, Q14
};

struct Plan;

// Arguments of one row kernel call: blocks of 16 pixels starting at x0 (a multiple of 16).
struct RowArgs {
    const uint8_t* y;        // luma at x0 (16 readable bytes per block)
    const int16_t* chroma;   // chroma terms at x0: per block B0-7 B8-15 G.. G.. R.. R..
    uint8_t* dst;            // BGRA at x0
    int x0;
    int blocks;
    int row;
};

using ConvertFn = void (*)(const Plan&, const RowArgs&);
using ChromaFn = void (*)(const ConvCoeffs& k, const int16_t* u, const int16_t* v, int groups,
                          int16_t* blocks);
using PaletteFn = void (*)(const uint32_t table[256], const uint8_t* y, uint8_t* dst, int n);

struct Plan {
    int width = 0;
    int height = 0;
    ConvCoeffs coeffs{};
    bool curve = false;           // run luma through a cubic tone curve
    int16_t curveQ[4]{};          // its coefficients a0..a3 / 4 in Q15, in t = min(Y-16,219)*149/32768
    bool palette = false;         // BGRA straight from paletteTable[Y], no chroma
    uint32_t paletteTable[256]{};
    bool invert = false;
    Modulate modulate = Modulate::None;
    VignetteParams vignette;
    std::vector<int16_t> texture; // kTile*kTile factors, Q14
    ShapeMask shape;
    ConvertFn convert = nullptr;
    ChromaFn chroma = nullptr;
    PaletteFn paletteRow = nullptr;
};

} // namespace avfx::detail
