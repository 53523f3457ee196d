#pragma once
// Internal to the renderer: pixel arithmetic on premultiplied 0xAARRGGBB and clip helpers.
// The back buffer is treated as opaque: every pixel we write gets alpha 255.
#include <windows.h>
#include <cstdint>

namespace DuiLib::Pixel {

// x * a / 255 for two 8-bit channels packed at bits 0-7 and 16-23, rounded.
inline uint32_t Scale2(uint32_t pair, uint32_t a)
{
    uint32_t t = (pair & 0x00FF00FFu) * a + 0x00800080u;
    return ((t + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// Every channel (alpha too) of a premultiplied pixel times a/255.
inline uint32_t ScaleAll(uint32_t px, uint32_t a)
{
    return Scale2(px, a) | (Scale2(px >> 8, a) << 8);
}

// Premultiplies a straight ARGB colour.
inline uint32_t Premultiply(uint32_t argb)
{
    uint32_t a = argb >> 24;
    return (a << 24) | Scale2(argb, a) | ((Scale2(argb >> 8, a) << 8) & 0x0000FF00u);
}

// Premultiplied source over destination; the result is opaque.
inline uint32_t Over(uint32_t src, uint32_t dst)
{
    uint32_t sa = src >> 24;
    if (sa == 255) return src;
    if (sa == 0) return dst | 0xFF000000u;
    uint32_t inv = 255 - sa;
    uint32_t rb = Scale2(dst, inv);
    uint32_t g = Scale2(dst >> 8, inv) & 0xFFu;
    return 0xFF000000u | ((src & 0x00FFFFFFu) + (rb | (g << 8)));
}

inline RECT Intersect(const RECT& a, const RECT& b)
{
    RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
           a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    if (r.right <= r.left || r.bottom <= r.top) r = RECT{0, 0, 0, 0};
    return r;
}

inline bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

} // namespace DuiLib::Pixel
