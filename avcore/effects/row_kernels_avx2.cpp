// AVX2 row kernels, 16 pixels per register. Built with a target attribute and
// picked at run time only where the CPU and OS support AVX2.
#include <immintrin.h>

#include "avcore/effects/row_kernels.h"

#define AVFX_AVX2 __attribute__((target("avx2")))

namespace avfx::detail {
namespace {

AVFX_AVX2 inline __m256i load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
AVFX_AVX2 inline void store(void* p, __m256i v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }

AVFX_AVX2 inline __m256i vignetteFactor(__m256i r2, __m256i r0, __m256i k, __m256i floor)
{
    const __m256i t = _mm256_subs_epu16(r2, r0);
    const __m256i dark = _mm256_mulhi_epu16(_mm256_mulhi_epu16(t, t), k);
    return _mm256_max_epi16(_mm256_subs_epu16(_mm256_set1_epi16(16384), dark), floor);
}

AVFX_AVX2 inline __m256i curve(__m256i t, const __m256i q[4])
{
    __m256i v = q[3];
    v = _mm256_add_epi16(_mm256_slli_epi16(_mm256_mulhi_epi16(v, t), 1), q[2]);
    v = _mm256_add_epi16(_mm256_slli_epi16(_mm256_mulhi_epi16(v, t), 1), q[1]);
    return _mm256_add_epi16(_mm256_slli_epi16(_mm256_mulhi_epi16(v, t), 1), q[0]);
}

// Same arithmetic as the SSE2 kernel, so both give identical pixels.
template <bool Curve, Modulate M, bool Invert>
AVFX_AVX2 void convertRow(const Plan& p, const RowArgs& a)
{
    const ConvCoeffs& c = p.coeffs;
    const __m256i alpha = _mm256_set1_epi16(255);
    const __m256i kyB = _mm256_set1_epi16(static_cast<short>(c.ky[0]));
    const __m256i kyG = _mm256_set1_epi16(static_cast<short>(c.ky[1]));
    const __m256i kyR = _mm256_set1_epi16(static_cast<short>(c.ky[2]));
    const __m256i ktB = _mm256_set1_epi16(c.kt[0]), ktG = _mm256_set1_epi16(c.kt[1]), ktR = _mm256_set1_epi16(c.kt[2]);
    const __m256i flip = _mm256_set1_epi32(0x00FFFFFF);
    const __m128i black = _mm_set1_epi8(16), range = _mm_set1_epi8(static_cast<char>(219));
    const __m256i step = _mm256_set1_epi16(149);
    __m256i q[4];
    for (int i = 0; i < 4; ++i)
        q[i] = _mm256_set1_epi16(p.curveQ[i]);

    __m256i vr0 = alpha, vk = alpha, vfloor = alpha, rowR2 = alpha;
    const uint16_t* vcol = nullptr;
    const int16_t* tex = nullptr;
    if constexpr (M == Modulate::Vignette) {
        vr0 = _mm256_set1_epi16(static_cast<short>(p.vignette.r0));
        vk = _mm256_set1_epi16(static_cast<short>(p.vignette.k));
        vfloor = _mm256_set1_epi16(static_cast<short>(p.vignette.floor));
        rowR2 = _mm256_set1_epi16(static_cast<short>(p.vignette.row[a.row]));
        vcol = p.vignette.col.data() + a.x0;
    }
    if constexpr (M == Modulate::Texture)
        tex = p.texture.data() + (a.row & (kTile - 1)) * kTile;

    const uint8_t* y = a.y;
    const int16_t* ch = a.chroma;
    uint8_t* d = a.dst;
    for (int i = 0; i < a.blocks; ++i, y += 16, ch += 48, d += 64) {
        const __m128i yv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(y));
        __m256i b, g, r;
        if constexpr (Curve) {
            const __m128i t = _mm_min_epu8(_mm_subs_epu8(yv, black), range);
            const __m256i f = curve(_mm256_mullo_epi16(_mm256_cvtepu8_epi16(t), step), q);
            b = _mm256_mulhi_epi16(f, ktB);
            g = _mm256_mulhi_epi16(f, ktG);
            r = _mm256_mulhi_epi16(f, ktR);
        } else {
            const __m256i y16 = _mm256_slli_epi16(_mm256_cvtepu8_epi16(yv), 8);
            b = _mm256_mulhi_epu16(y16, kyB);
            g = _mm256_mulhi_epu16(y16, kyG);
            r = _mm256_mulhi_epu16(y16, kyR);
        }
        b = _mm256_add_epi16(b, load(ch));
        g = _mm256_add_epi16(g, load(ch + 16));
        r = _mm256_add_epi16(r, load(ch + 32));
        if constexpr (M == Modulate::None) {
            b = _mm256_srai_epi16(b, 3);
            g = _mm256_srai_epi16(g, 3);
            r = _mm256_srai_epi16(r, 3);
        } else {
            __m256i f;
            if constexpr (M == Modulate::Vignette)
                f = vignetteFactor(_mm256_adds_epu16(load(vcol + i * 16), rowR2), vr0, vk, vfloor);
            else
                f = load(tex + ((a.x0 + i * 16) & (kTile - 1)));
            b = _mm256_srai_epi16(_mm256_mulhi_epi16(b, f), 1);
            g = _mm256_srai_epi16(_mm256_mulhi_epi16(g, f), 1);
            r = _mm256_srai_epi16(_mm256_mulhi_epi16(r, f), 1);
        }
        // Packs work per 128-bit lane: interleave within lanes, then put the lanes in order.
        const __m256i br = _mm256_packus_epi16(b, r);
        const __m256i ga = _mm256_packus_epi16(g, alpha);
        const __m256i bg = _mm256_unpacklo_epi8(br, ga), ra = _mm256_unpackhi_epi8(br, ga);
        const __m256i lo = _mm256_unpacklo_epi16(bg, ra), hi = _mm256_unpackhi_epi16(bg, ra);
        __m256i o0 = _mm256_permute2x128_si256(lo, hi, 0x20);
        __m256i o1 = _mm256_permute2x128_si256(lo, hi, 0x31);
        if constexpr (Invert) {
            o0 = _mm256_xor_si256(o0, flip);
            o1 = _mm256_xor_si256(o1, flip);
        }
        store(d, o0);
        store(d + 32, o1);
    }
}

template <bool Curve>
ConvertFn selectFor(Modulate modulate, bool invert)
{
    switch (modulate) {
    case Modulate::Vignette:
        return invert ? &convertRow<Curve, Modulate::Vignette, true> : &convertRow<Curve, Modulate::Vignette, false>;
    case Modulate::Texture:
        return invert ? &convertRow<Curve, Modulate::Texture, true> : &convertRow<Curve, Modulate::Texture, false>;
    default:
        return invert ? &convertRow<Curve, Modulate::None, true> : &convertRow<Curve, Modulate::None, false>;
    }
}

} // namespace

ConvertFn selectConvertAvx2(bool curve, Modulate modulate, bool invert)
{
    return curve ? selectFor<true>(modulate, invert) : selectFor<false>(modulate, invert);
}

namespace {

AVFX_AVX2 inline void chromaTerms(const __m256i ku[3], const __m256i kv[3], const __m256i off[3], const int16_t* u,
                                  const int16_t* v, __m256i t[3])
{
    const __m256i mid = _mm256_set1_epi16(512);
    const __m256i us = _mm256_slli_epi16(_mm256_sub_epi16(load(u), mid), 4);
    const __m256i vs = _mm256_slli_epi16(_mm256_sub_epi16(load(v), mid), 4);
    for (int c = 0; c < 3; ++c)
        t[c] = _mm256_add_epi16(_mm256_add_epi16(_mm256_mulhi_epi16(us, ku[c]), _mm256_mulhi_epi16(vs, kv[c])), off[c]);
}

} // namespace

AVFX_AVX2 void buildChromaBlocksAvx2(const ConvCoeffs& k, const int16_t* u, const int16_t* v, int groups,
                                     int16_t* blocks)
{
    __m256i ku[3], kv[3], off[3];
    for (int c = 0; c < 3; ++c) {
        ku[c] = _mm256_set1_epi16(k.ku[c]);
        kv[c] = _mm256_set1_epi16(k.kv[c]);
        off[c] = _mm256_set1_epi16(k.off[c]);
    }
    __m256i cur[3], next[3];
    chromaTerms(ku, kv, off, u, v, cur);
    int g = 0;
    for (; g + 2 <= groups; g += 2, blocks += 96) {  // 16 chroma samples, two blocks
        chromaTerms(ku, kv, off, u + 8 * g + 16, v + 8 * g + 16, next);
        for (int c = 0; c < 3; ++c) {
            // Each sample's right neighbour: the terms moved down one, the next run's first last.
            const __m256i right = _mm256_alignr_epi8(_mm256_permute2x128_si256(cur[c], next[c], 0x21), cur[c], 2);
            const __m256i between = _mm256_srai_epi16(_mm256_add_epi16(cur[c], right), 1);
            const __m256i lo = _mm256_unpacklo_epi16(cur[c], between), hi = _mm256_unpackhi_epi16(cur[c], between);
            store(blocks + c * 16, _mm256_permute2x128_si256(lo, hi, 0x20));
            store(blocks + 48 + c * 16, _mm256_permute2x128_si256(lo, hi, 0x31));
            cur[c] = next[c];
        }
    }
    if (g < groups)
        buildChromaBlocks(k, u + 8 * g, v + 8 * g, 1, blocks);
}

} // namespace avfx::detail
