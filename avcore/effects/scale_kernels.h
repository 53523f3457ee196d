// Internal: the two passes of a filtered resize, for BGRA rows, chosen once per CPU.
// Between the passes each channel is an int16 in Q6 (value * 64), so the two roundings
// cost no precision worth seeing and a cubic's overshoot is kept until the end.
#pragma once
#include <cstdint>

namespace avfx::detail {

// Across a row: target pixels [0, 4*quads) from src, pixel i from the `taps` source pixels
// starting at byte offset at[i], weighted by `pairs`. pairs holds, per two target pixels and
// per pair of taps, eight int16 for the first pixel (w0 w1 repeated for B G R A) then eight
// for the second. Every byte of those taps must be readable.
using HorizontalFn = void (*)(const uint8_t* src, const int* at, const int16_t* pairs, int taps, int quads,
                              int16_t* out);

// Down the columns, for `count` target rows that take the same `taps` rows of Q6 channels:
// bytes [0, 16*chunks) of outs[g], source row k weighted by weights[16*(taps*g+k)], the same
// Q14 weight sixteen times over. Enlarging, neighbouring target rows share their source rows,
// which are then read once for all of them.
using VerticalFn = void (*)(const int16_t* const* rows, const int16_t* weights, int taps, int chunks,
                            uint8_t* const* outs, int count);

struct ScaleKernels {
    HorizontalFn horizontal;
    VerticalFn vertical;
};
// The widest kernels this CPU offers, under the same switch as the conversion's.
ScaleKernels selectScaleKernels();

void scaleRowSse2(const uint8_t* src, const int* at, const int16_t* pairs, int taps, int quads, int16_t* out);
void scaleColumnsSse2(const int16_t* const* rows, const int16_t* weights, int taps, int chunks, uint8_t* const* outs,
                      int count);
// The column pass in exact int32 sums, for steep shrinks: past about 16 taps the products'
// dropped fractions, which the fast kernels only make up on average, could reach a level.
// Writes chunks [from, to) from out on.
void scaleColumnsManyTaps(const int16_t* const* rows, const int16_t* weights, int taps, int from, int to,
                          uint8_t* out);
// One target row's chunks [from, to), written from out on: the tail of the wider kernel.
void scaleChunksSse2(const int16_t* const* rows, const int16_t* weights, int taps, int from, int to, uint8_t* out);
void scaleRowAvx2(const uint8_t* src, const int* at, const int16_t* pairs, int taps, int quads, int16_t* out);
void scaleColumnsAvx2(const int16_t* const* rows, const int16_t* weights, int taps, int chunks, uint8_t* const* outs,
                      int count);

} // namespace avfx::detail
