// AVX2 passes of the filtered resize: the SSE2 arithmetic on twice the width, so both
// give identical pixels.
#include <immintrin.h>

#include "avcore/effects/scale_kernels.h"

#define AVFX_AVX2 __attribute__((target("avx2")))

namespace avfx::detail {
namespace {

AVFX_AVX2 inline __m256i load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
AVFX_AVX2 inline void store(void* p, __m256i v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }

// Two pixels from p and two from q, each pair as int16 B0 B1 G0 G1 R0 R1 A0 A1.
AVFX_AVX2 inline __m256i pixelPairs(const uint8_t* p, const uint8_t* q, __m128i order)
{
    __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    v = _mm_castpd_si128(_mm_loadh_pd(_mm_castsi128_pd(v), reinterpret_cast<const double*>(q)));
    return _mm256_cvtepu8_epi16(_mm_shuffle_epi8(v, order));
}

// Two target pixels: B G R A sums in Q14, the first pixel's in the low half, rounded to Q6.
// Four taps at a time where they can: one 16-byte load per pixel instead of two of 8.
// Taps > 0 fixes their number, so the loop and its branches go; 0 reads `taps`.
template <int Taps>
AVFX_AVX2 inline __m256i filterTwo(const uint8_t* p, const uint8_t* q, const int16_t* pairs, int taps, __m128i order)
{
    const int n = Taps > 0 ? Taps : taps;
    const __m256i zero = _mm256_setzero_si256(), order2 = _mm256_broadcastsi128_si256(order);
    __m256i acc = _mm256_setzero_si256();
    int k = 0;
    for (; k + 4 <= n; k += 4, p += 16, q += 16, pairs += 32) {
        __m256i v = _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
                                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(q)), 1);
        v = _mm256_shuffle_epi8(v, order2);  // per half: taps 0,1 paired, then taps 2,3
        acc = _mm256_add_epi32(acc, _mm256_madd_epi16(_mm256_unpacklo_epi8(v, zero), load(pairs)));
        acc = _mm256_add_epi32(acc, _mm256_madd_epi16(_mm256_unpackhi_epi8(v, zero), load(pairs + 16)));
    }
    if (k < n)
        acc = _mm256_add_epi32(acc, _mm256_madd_epi16(pixelPairs(p, q, order), load(pairs)));
    return _mm256_srai_epi32(_mm256_add_epi32(acc, _mm256_set1_epi32(128)), 8);
}

template <int Taps>
AVFX_AVX2 void rowOf(const uint8_t* src, const int* at, const int16_t* pairs, int taps, int quads, int16_t* out)
{
    const __m128i order = _mm_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15);
    const int group = taps * 8;
    for (int i = 0; i < 4 * quads; i += 4, pairs += 2 * group, out += 16) {
        const __m256i a = filterTwo<Taps>(src + at[i], src + at[i + 1], pairs, taps, order);
        const __m256i b = filterTwo<Taps>(src + at[i + 2], src + at[i + 3], pairs + group, taps, order);
        // The pack interleaves the halves: pixels 0 2 1 3, put back in order.
        store(out, _mm256_permute4x64_epi64(_mm256_packs_epi32(a, b), 0xD8));
    }
}

} // namespace

AVFX_AVX2 void scaleRowAvx2(const uint8_t* src, const int* at, const int16_t* pairs, int taps, int quads,
                            int16_t* out)
{
    switch (taps) {
    case 2: rowOf<2>(src, at, pairs, taps, quads, out); break;
    case 4: rowOf<4>(src, at, pairs, taps, quads, out); break;
    default: rowOf<0>(src, at, pairs, taps, quads, out); break;
    }
}

namespace {

// Taps > 0 fixes their number, so the source rows' values stay in registers for all the
// target rows; 0 reads `taps` and loads them again for each target row.
template <int Taps>
AVFX_AVX2 int columns(const int16_t* const* rows, const int16_t* weights, int taps, int chunks, uint8_t* const* outs,
                      int count)
{
    constexpr int kHeld = Taps > 0 ? Taps : 1;
    const int n = Taps > 0 ? Taps : taps;
    const __m256i round = _mm256_set1_epi16(static_cast<short>(8 + n / 2));
    int c = 0;
    for (; c + 2 <= chunks; c += 2) {
        const int at = c * 16;
        __m256i lo[kHeld], hi[kHeld];
        if constexpr (Taps > 0)
            for (int k = 0; k < Taps; ++k) {
                lo[k] = load(rows[k] + at);
                hi[k] = load(rows[k] + at + 16);
            }
        for (int g = 0; g < count; ++g) {
            const int16_t* w = weights + 16 * n * g;
            __m256i sumLo = round, sumHi = round;
            for (int k = 0; k < n; ++k) {
                const __m256i wk = load(w + 16 * k);
                sumLo = _mm256_add_epi16(sumLo, _mm256_mulhi_epi16(Taps > 0 ? lo[k] : load(rows[k] + at), wk));
                sumHi = _mm256_add_epi16(sumHi, _mm256_mulhi_epi16(Taps > 0 ? hi[k] : load(rows[k] + at + 16), wk));
            }
            const __m256i bytes = _mm256_packus_epi16(_mm256_srai_epi16(sumLo, 4), _mm256_srai_epi16(sumHi, 4));
            store(outs[g] + at, _mm256_permute4x64_epi64(bytes, 0xD8));
        }
    }
    return c;
}

} // namespace

AVFX_AVX2 void scaleColumnsAvx2(const int16_t* const* rows, const int16_t* weights, int taps, int chunks,
                                uint8_t* const* outs, int count)
{
    int done;
    switch (taps) {
    case 2: done = columns<2>(rows, weights, taps, chunks, outs, count); break;
    case 3: done = columns<3>(rows, weights, taps, chunks, outs, count); break;
    case 4: done = columns<4>(rows, weights, taps, chunks, outs, count); break;
    default: done = columns<0>(rows, weights, taps, chunks, outs, count); break;
    }
    for (int g = 0; g < count; ++g)
        scaleChunksSse2(rows, weights + 16 * taps * g, taps, done, chunks, outs[g] + 16 * done);
}

} // namespace avfx::detail
