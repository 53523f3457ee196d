// Row kernels: the per-pixel work of the pipeline, chosen once per configuration.
#pragma once
#include <cstdint>

#include "avcore/effects/effect_plan.h"

namespace avfx::detail {

// Kernels for the widest instruction set this CPU offers (SSE2 is the floor).
struct KernelSet {
    ConvertFn convert;
    ChromaFn chroma;
    PaletteFn palette;
};
KernelSet selectKernels(bool curve, Modulate modulate, bool invert);

// Limits selectKernels to SSE2 (false) or lets it use AVX2 where present (true,
// the default); lets tests compare both paths on one machine.
void allowWideKernels(bool allow);
bool wideKernelsAvailable();

// Chroma terms of `groups` runs of 8 chroma samples (16 output pixels each) into blocks.
// u and v hold the samples x4 (a row already blended to the picture row's height) and
// are readable through index 8*groups+15. Chroma sits on the even pixels; each odd pixel
// takes the mean of its two neighbours' terms.
void buildChromaBlocks(const ConvCoeffs& k, const int16_t* u, const int16_t* v, int groups, int16_t* blocks);
void buildChromaBlocksAvx2(const ConvCoeffs& k, const int16_t* u, const int16_t* v, int groups, int16_t* blocks);

// One chroma row for a picture row between two chroma rows: 3*near + far per sample (x4),
// n samples. The NV12 form splits the interleaved row into u and v.
void blendChromaRows(const uint8_t* near, const uint8_t* far, int n, int16_t* out);
void blendChromaRowsNv12(const uint8_t* near, const uint8_t* far, int n, int16_t* u, int16_t* v);
ConvertFn selectConvertSse2(bool curve, Modulate modulate, bool invert);
ConvertFn selectConvertAvx2(bool curve, Modulate modulate, bool invert);

// BGRA words straight from table[y[i]] for n pixels.
void mapPalette(const uint32_t table[256], const uint8_t* y, uint8_t* dst, int n);

// Scales n BGRA pixels by coverage/255 (alpha kept); step is +1 or -1 through cov.
void scaleByCoverage(uint8_t* bgra, const uint8_t* cov, int step, int n);

// Writes n opaque black pixels.
void fillBlack(uint8_t* bgra, int n);

} // namespace avfx::detail
