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

// Chroma terms of `groups` runs of 8 chroma samples (16 output pixels each) into
// blocks; NV12 passes the interleaved row as u and null v.
void buildChromaBlocks(const ConvCoeffs& k, const uint8_t* u, const uint8_t* v, int groups,
                       int16_t* blocks);
void buildChromaBlocksAvx2(const ConvCoeffs& k, const uint8_t* u, const uint8_t* v, int groups,
                           int16_t* blocks);
ConvertFn selectConvertSse2(bool curve, Modulate modulate, bool invert);
ConvertFn selectConvertAvx2(bool curve, Modulate modulate, bool invert);

// BGRA words straight from table[y[i]] for n pixels.
void mapPalette(const uint32_t table[256], const uint8_t* y, uint8_t* dst, int n);

// Scales n BGRA pixels by coverage/255 (alpha kept); step is +1 or -1 through cov.
void scaleByCoverage(uint8_t* bgra, const uint8_t* cov, int step, int n);

// Writes n opaque black pixels.
void fillBlack(uint8_t* bgra, int n);

} // namespace avfx::detail
