// SSE2 passes of the filtered resize.
#include <emmintrin.h>

#include <algorithm>

#include "avcore/effects/scale_kernels.h"

namespace avfx::detail {
namespace {

inline __m128i load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
inline void store(void* p, __m128i v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }

// Two neighbouring BGRA pixels as int16 B0 B1 G0 G1 R0 R1 A0 A1, ready for a pairwise multiply-add.
inline __m128i pixelPair(const uint8_t* p)
{
    const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    return _mm_unpacklo_epi8(_mm_unpacklo_epi8(v, _mm_srli_si128(v, 4)), _mm_setzero_si128());
}

// One target pixel: four int32 sums, B G R A, in Q14.
inline __m128i filterPixel(const uint8_t* src, const int16_t* pairs, int taps)
{
    __m128i acc = _mm_setzero_si128();
    for (int k = 0; k < taps; k += 2, src += 8, pairs += 16)
        acc = _mm_add_epi32(acc, _mm_madd_epi16(pixelPair(src), load(pairs)));
    return acc;
}

// Q14 sums to Q6, rounded.
inline __m128i toQ6(__m128i acc) { return _mm_srai_epi32(_mm_add_epi32(acc, _mm_set1_epi32(128)), 8); }

} // namespace

void scaleRowSse2(const uint8_t* src, const int* at, const int16_t* pairs, int taps, int quads, int16_t* out)
{
    const int group = taps * 8;  // int16 of weights per two target pixels
    for (int i = 0; i < 4 * quads; i += 2, pairs += group, out += 8) {
        const __m128i a = filterPixel(src + at[i], pairs, taps);
        const __m128i b = filterPixel(src + at[i + 1], pairs + 8, taps);
        store(out, _mm_packs_epi32(toQ6(a), toQ6(b)));
    }
}

void scaleColumnsSse2(const int16_t* const* rows, const int16_t* weights, int taps, int chunks, uint8_t* const* outs,
                      int count)
{
    for (int g = 0; g < count; ++g)
        scaleChunksSse2(rows, weights + 16 * taps * g, taps, 0, chunks, outs[g]);
}

void scaleChunksSse2(const int16_t* const* rows, const int16_t* weights, int taps, int from, int to, uint8_t* out)
{
    // Each product drops a fraction below 1/16 of a level; half of that per tap on average comes back here.
    const __m128i round = _mm_set1_epi16(static_cast<short>(8 + taps / 2));
    for (int c = from; c < to; ++c, out += 16) {
        const int at = c * 16;
        __m128i lo = round, hi = round;
        for (int k = 0; k < taps; ++k) {
            const __m128i w = load(weights + 16 * k);
            lo = _mm_add_epi16(lo, _mm_mulhi_epi16(load(rows[k] + at), w));  // Q6 * Q14 -> Q4
            hi = _mm_add_epi16(hi, _mm_mulhi_epi16(load(rows[k] + at + 8), w));
        }
        store(out, _mm_packus_epi16(_mm_srai_epi16(lo, 4), _mm_srai_epi16(hi, 4)));
    }
}

void scaleColumnsManyTaps(const int16_t* const* rows, const int16_t* weights, int taps, int from, int to,
                          uint8_t* out)
{
    for (int i = 16 * from; i < 16 * to; ++i) {
        int32_t sum = 1 << 19;
        for (int k = 0; k < taps; ++k)
            sum += rows[k][i] * weights[16 * k];
        *out++ = static_cast<uint8_t>(std::clamp(sum >> 20, 0, 255));  // Q6 * Q14
    }
}

} // namespace avfx::detail
