// SSE2 row kernels: part of the x86-64 baseline, so no dispatch is needed.
#include <emmintrin.h>

#include <cstring>

#include "avcore/effects/row_kernels.h"

namespace avfx::detail {
namespace {

inline __m128i load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
inline void store(void* p, __m128i v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }

// Vignette factor (Q14) of 8 pixels from their squared radius.
inline __m128i vignetteFactor(__m128i r2, __m128i r0, __m128i k, __m128i floor)
{
    const __m128i t = _mm_subs_epu16(r2, r0);
    const __m128i t2 = _mm_mulhi_epu16(t, t);                  // Q12
    const __m128i dark = _mm_mulhi_epu16(t2, k);               // Q14
    const __m128i f = _mm_subs_epu16(_mm_set1_epi16(16384), dark);
    return _mm_max_epi16(f, floor);
}

// Tone curve of 8 lumas t (Q15) by Horner's rule; result f/4 in Q15, i.e. f in Q13.
inline __m128i curve(__m128i t, const __m128i q[4])
{
    __m128i v = q[3];
    v = _mm_add_epi16(_mm_slli_epi16(_mm_mulhi_epi16(v, t), 1), q[2]);
    v = _mm_add_epi16(_mm_slli_epi16(_mm_mulhi_epi16(v, t), 1), q[1]);
    return _mm_add_epi16(_mm_slli_epi16(_mm_mulhi_epi16(v, t), 1), q[0]);
}

template <bool Curve, Modulate M, bool Invert>
void convertRow(const Plan& p, const RowArgs& a)
{
    const ConvCoeffs& c = p.coeffs;
    const __m128i zero = _mm_setzero_si128();
    const __m128i ones = _mm_set1_epi8(-1);
    const __m128i kyB = _mm_set1_epi16(static_cast<short>(c.ky[0]));
    const __m128i kyG = _mm_set1_epi16(static_cast<short>(c.ky[1]));
    const __m128i kyR = _mm_set1_epi16(static_cast<short>(c.ky[2]));
    const __m128i flip = _mm_set1_epi32(0x00FFFFFF);
    const __m128i black = _mm_set1_epi8(16), range = _mm_set1_epi8(static_cast<char>(219));
    const __m128i step = _mm_set1_epi16(149);
    const __m128i ktB = _mm_set1_epi16(c.kt[0]), ktG = _mm_set1_epi16(c.kt[1]), ktR = _mm_set1_epi16(c.kt[2]);
    __m128i q[4];
    for (int i = 0; i < 4; ++i)
        q[i] = _mm_set1_epi16(p.curveQ[i]);

    __m128i vr0 = zero, vk = zero, vfloor = zero, rowR2 = zero;
    const uint16_t* vcol = nullptr;
    const int16_t* tex = nullptr;
    if constexpr (M == Modulate::Vignette) {
        vr0 = _mm_set1_epi16(static_cast<short>(p.vignette.r0));
        vk = _mm_set1_epi16(static_cast<short>(p.vignette.k));
        vfloor = _mm_set1_epi16(static_cast<short>(p.vignette.floor));
        rowR2 = _mm_set1_epi16(static_cast<short>(p.vignette.row[a.row]));
        vcol = p.vignette.col.data() + a.x0;
    }
    if constexpr (M == Modulate::Texture)
        tex = p.texture.data() + (a.row & (kTile - 1)) * kTile;

    const uint8_t* y = a.y;
    const int16_t* ch = a.chroma;
    uint8_t* d = a.dst;
    for (int i = 0; i < a.blocks; ++i, y += 16, ch += 48, d += 64) {
        const __m128i yv = load(y);
        __m128i b0, b1, g0, g1, r0, r1;
        if constexpr (Curve) {
            const __m128i t = _mm_min_epu8(_mm_subs_epu8(yv, black), range);
            const __m128i flo = curve(_mm_mullo_epi16(_mm_unpacklo_epi8(t, zero), step), q);
            const __m128i fhi = curve(_mm_mullo_epi16(_mm_unpackhi_epi8(t, zero), step), q);
            b0 = _mm_mulhi_epi16(flo, ktB); b1 = _mm_mulhi_epi16(fhi, ktB);
            g0 = _mm_mulhi_epi16(flo, ktG); g1 = _mm_mulhi_epi16(fhi, ktG);
            r0 = _mm_mulhi_epi16(flo, ktR); r1 = _mm_mulhi_epi16(fhi, ktR);
        } else {
            const __m128i ylo = _mm_unpacklo_epi8(zero, yv);  // Y << 8
            const __m128i yhi = _mm_unpackhi_epi8(zero, yv);
            b0 = _mm_mulhi_epu16(ylo, kyB); b1 = _mm_mulhi_epu16(yhi, kyB);
            g0 = _mm_mulhi_epu16(ylo, kyG); g1 = _mm_mulhi_epu16(yhi, kyG);
            r0 = _mm_mulhi_epu16(ylo, kyR); r1 = _mm_mulhi_epu16(yhi, kyR);
        }
        b0 = _mm_add_epi16(b0, load(ch)); b1 = _mm_add_epi16(b1, load(ch + 8));
        g0 = _mm_add_epi16(g0, load(ch + 16)); g1 = _mm_add_epi16(g1, load(ch + 24));
        r0 = _mm_add_epi16(r0, load(ch + 32)); r1 = _mm_add_epi16(r1, load(ch + 40));
        if constexpr (M == Modulate::None) {
            b0 = _mm_srai_epi16(b0, 3); b1 = _mm_srai_epi16(b1, 3);
            g0 = _mm_srai_epi16(g0, 3); g1 = _mm_srai_epi16(g1, 3);
            r0 = _mm_srai_epi16(r0, 3); r1 = _mm_srai_epi16(r1, 3);
        } else {
            __m128i f0, f1;
            if constexpr (M == Modulate::Vignette) {
                const uint16_t* col = vcol + i * 16;
                f0 = vignetteFactor(_mm_adds_epu16(load(col), rowR2), vr0, vk, vfloor);
                f1 = vignetteFactor(_mm_adds_epu16(load(col + 8), rowR2), vr0, vk, vfloor);
            } else {
                const int16_t* t = tex + ((a.x0 + i * 16) & (kTile - 1));
                f0 = load(t);
                f1 = load(t + 8);
            }
            // (v * f / 2^14) >> 3 folds into one high multiply and a shift by one.
            b0 = _mm_srai_epi16(_mm_mulhi_epi16(b0, f0), 1); b1 = _mm_srai_epi16(_mm_mulhi_epi16(b1, f1), 1);
            g0 = _mm_srai_epi16(_mm_mulhi_epi16(g0, f0), 1); g1 = _mm_srai_epi16(_mm_mulhi_epi16(g1, f1), 1);
            r0 = _mm_srai_epi16(_mm_mulhi_epi16(r0, f0), 1); r1 = _mm_srai_epi16(_mm_mulhi_epi16(r1, f1), 1);
        }
        const __m128i b = _mm_packus_epi16(b0, b1);
        const __m128i g = _mm_packus_epi16(g0, g1);
        const __m128i r = _mm_packus_epi16(r0, r1);
        const __m128i bgLo = _mm_unpacklo_epi8(b, g), bgHi = _mm_unpackhi_epi8(b, g);
        const __m128i raLo = _mm_unpacklo_epi8(r, ones), raHi = _mm_unpackhi_epi8(r, ones);
        __m128i o0 = _mm_unpacklo_epi16(bgLo, raLo), o1 = _mm_unpackhi_epi16(bgLo, raLo);
        __m128i o2 = _mm_unpacklo_epi16(bgHi, raHi), o3 = _mm_unpackhi_epi16(bgHi, raHi);
        if constexpr (Invert) {
            o0 = _mm_xor_si128(o0, flip); o1 = _mm_xor_si128(o1, flip);
            o2 = _mm_xor_si128(o2, flip); o3 = _mm_xor_si128(o3, flip);
        }
        store(d, o0);
        store(d + 16, o1);
        store(d + 32, o2);
        store(d + 48, o3);
    }
}

} // namespace

namespace {

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

ConvertFn selectConvertSse2(bool curve, Modulate modulate, bool invert)
{
    return curve ? selectFor<true>(modulate, invert) : selectFor<false>(modulate, invert);
}

namespace {

// Chroma terms (B, G, R in 1/8 units, offset included) of 8 samples given x4.
inline void chromaTerms(const __m128i ku[3], const __m128i kv[3], const __m128i off[3], const int16_t* u,
                        const int16_t* v, __m128i t[3])
{
    const __m128i mid = _mm_set1_epi16(512);
    const __m128i us = _mm_slli_epi16(_mm_sub_epi16(load(u), mid), 4);
    const __m128i vs = _mm_slli_epi16(_mm_sub_epi16(load(v), mid), 4);
    for (int c = 0; c < 3; ++c)
        t[c] = _mm_add_epi16(_mm_add_epi16(_mm_mulhi_epi16(us, ku[c]), _mm_mulhi_epi16(vs, kv[c])), off[c]);
}

} // namespace

void buildChromaBlocks(const ConvCoeffs& k, const int16_t* u, const int16_t* v, int groups, int16_t* blocks)
{
    __m128i ku[3], kv[3], off[3];
    for (int c = 0; c < 3; ++c) {
        ku[c] = _mm_set1_epi16(k.ku[c]);
        kv[c] = _mm_set1_epi16(k.kv[c]);
        off[c] = _mm_set1_epi16(k.off[c]);
    }
    __m128i cur[3], next[3];
    chromaTerms(ku, kv, off, u, v, cur);
    for (int g = 0; g < groups; ++g, blocks += 48) {
        chromaTerms(ku, kv, off, u + 8 * g + 8, v + 8 * g + 8, next);
        for (int c = 0; c < 3; ++c) {
            const __m128i right = _mm_or_si128(_mm_srli_si128(cur[c], 2), _mm_slli_si128(next[c], 14));
            const __m128i between = _mm_srai_epi16(_mm_add_epi16(cur[c], right), 1);
            store(blocks + c * 16, _mm_unpacklo_epi16(cur[c], between));
            store(blocks + c * 16 + 8, _mm_unpackhi_epi16(cur[c], between));
            cur[c] = next[c];
        }
    }
}

void blendChromaRows(const uint8_t* near, const uint8_t* far, int n, int16_t* out)
{
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i a = load(near + i), b = load(far + i);
        const __m128i alo = _mm_unpacklo_epi8(a, zero), ahi = _mm_unpackhi_epi8(a, zero);
        store(out + i, _mm_add_epi16(_mm_add_epi16(_mm_slli_epi16(alo, 1), alo), _mm_unpacklo_epi8(b, zero)));
        store(out + i + 8, _mm_add_epi16(_mm_add_epi16(_mm_slli_epi16(ahi, 1), ahi), _mm_unpackhi_epi8(b, zero)));
    }
    for (; i < n; ++i)
        out[i] = static_cast<int16_t>(3 * near[i] + far[i]);
}

void blendChromaRowsNv12(const uint8_t* near, const uint8_t* far, int n, int16_t* u, int16_t* v)
{
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m128i a = load(near + 2 * i), b = load(far + 2 * i);
        const __m128i au = _mm_and_si128(a, lowBytes), av = _mm_srli_epi16(a, 8);
        store(u + i, _mm_add_epi16(_mm_add_epi16(_mm_slli_epi16(au, 1), au), _mm_and_si128(b, lowBytes)));
        store(v + i, _mm_add_epi16(_mm_add_epi16(_mm_slli_epi16(av, 1), av), _mm_srli_epi16(b, 8)));
    }
    for (; i < n; ++i) {
        u[i] = static_cast<int16_t>(3 * near[2 * i] + far[2 * i]);
        v[i] = static_cast<int16_t>(3 * near[2 * i + 1] + far[2 * i + 1]);
    }
}

void mapPalette(const uint32_t table[256], const uint8_t* y, uint8_t* dst, int n)
{
    int i = 0;
    for (; i + 8 <= n; i += 8) {  // one luma load and two stores per 8 pixels
        uint64_t q;
        std::memcpy(&q, y + i, 8);
        const auto at = [&](int k) { return static_cast<int>(table[(q >> (8 * k)) & 0xFF]); };
        store(dst + 4 * i, _mm_setr_epi32(at(0), at(1), at(2), at(3)));
        store(dst + 4 * i + 16, _mm_setr_epi32(at(4), at(5), at(6), at(7)));
    }
    for (; i < n; ++i)
        std::memcpy(dst + 4 * i, &table[y[i]], 4);
}

void scaleByCoverage(uint8_t* bgra, const uint8_t* cov, int step, int n)
{
    for (int i = 0; i < n; ++i, cov += step, bgra += 4) {
        const unsigned c = *cov;
        for (int ch = 0; ch < 3; ++ch)
            bgra[ch] = static_cast<uint8_t>((bgra[ch] * c * 257u + 32768u) >> 16);
    }
}

void fillBlack(uint8_t* bgra, int n)
{
    const uint32_t black = 0xFF000000u;
    for (int i = 0; i < n; ++i)
        std::memcpy(bgra + 4 * i, &black, 4);
}

} // namespace avfx::detail
