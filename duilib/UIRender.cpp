// Fills, borders and text on the back buffer.
#include "duilib/UIRender.h"
#include "duilib/UIRenderPixel.h"

#include <emmintrin.h>

namespace DuiLib {

namespace {

// The part of rc we may touch: inside the clip and inside the buffer.
RECT Drawable(const CCanvas& canvas, const RECT& rc)
{
    if (!canvas.Bits()) return RECT{};
    RECT bounds{0, 0, canvas.Width(), canvas.Height()};
    return Pixel::Intersect(Pixel::Intersect(rc, canvas.Clip()), bounds);
}

// GDI writes alpha 0 where it draws; the buffer is opaque, so give it back.
void RestoreAlpha(CCanvas& canvas, const RECT& area)
{
    const int stride = canvas.Width();
    for (int y = area.top; y < area.bottom; ++y) {
        uint32_t* row = canvas.Bits() + static_cast<size_t>(y) * stride;
        for (int x = area.left; x < area.right; ++x) row[x] |= 0xFF000000u;
    }
}

// Opaque fill of one row, four pixels per store (SSE2 is part of every x86-64).
void FillRow(uint32_t* row, int width, uint32_t value)
{
    int x = 0;
    const __m128i v = _mm_set1_epi32(static_cast<int>(value));
    for (; x + 4 <= width; x += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), v);
    for (; x < width; ++x) row[x] = value;
}

// row = src + row * inv / 255 with src premultiplied (alpha byte 0); results opaque.
// The vector and scalar paths round identically.
void BlendRow(uint32_t* row, int width, uint32_t src, uint32_t inv)
{
    int x = 0;
    const __m128i zero = _mm_setzero_si128();
    const __m128i factor = _mm_set1_epi16(static_cast<short>(inv));
    const __m128i half = _mm_set1_epi16(0x80);
    const __m128i source = _mm_set1_epi32(static_cast<int>(src));
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; x + 4 <= width; x += 4) {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), factor), half);
        __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), factor), half);
        lo = _mm_srli_epi16(_mm_add_epi16(lo, _mm_srli_epi16(lo, 8)), 8);
        hi = _mm_srli_epi16(_mm_add_epi16(hi, _mm_srli_epi16(hi, 8)), 8);
        const __m128i scaled = _mm_packus_epi16(lo, hi);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), _mm_or_si128(_mm_add_epi8(scaled, source), opaque));
    }
    for (; x < width; ++x) {
        const uint32_t d = row[x];
        const uint32_t rb = Pixel::Scale2(d, inv);
        const uint32_t g = Pixel::Scale2(d >> 8, inv) & 0xFFu;
        row[x] = 0xFF000000u | (src + (rb | (g << 8)));
    }
}

} // namespace

void Render::FillRect(CCanvas& canvas, const RECT& rc, DWORD argb)
{
    const RECT area = Drawable(canvas, rc);
    if (Pixel::IsEmpty(area)) return;
    const uint32_t alpha = argb >> 24;
    if (alpha == 0) return;
    const int stride = canvas.Width();
    const int width = area.right - area.left;
    uint32_t* row = canvas.Bits() + static_cast<size_t>(area.top) * stride + area.left;
    if (alpha == 255) {
        for (int y = area.top; y < area.bottom; ++y, row += stride) FillRow(row, width, argb);
    } else {
        const uint32_t src = Pixel::Premultiply(argb) & 0x00FFFFFFu;
        for (int y = area.top; y < area.bottom; ++y, row += stride) BlendRow(row, width, src, 255 - alpha);
    }
}

void Render::DrawBorder(CCanvas& canvas, const RECT& rc, int size, DWORD argb)
{
    if (size <= 0 || Pixel::IsEmpty(rc)) return;
    // 64-bit: a huge size or rectangle must not wrap into a thin or inverted border.
    const int64_t width = int64_t{rc.right} - rc.left;
    const int64_t height = int64_t{rc.bottom} - rc.top;
    if (int64_t{size} * 2 >= width || int64_t{size} * 2 >= height) {
        FillRect(canvas, rc, argb);
        return;
    }
    // Four strips that do not overlap, so a translucent border blends once everywhere.
    FillRect(canvas, RECT{rc.left, rc.top, rc.right, rc.top + size}, argb);
    FillRect(canvas, RECT{rc.left, rc.bottom - size, rc.right, rc.bottom}, argb);
    FillRect(canvas, RECT{rc.left, rc.top + size, rc.left + size, rc.bottom - size}, argb);
    FillRect(canvas, RECT{rc.right - size, rc.top + size, rc.right, rc.bottom - size}, argb);
}

void Render::DrawText(CCanvas& canvas, const RECT& rc, const wchar_t* text, DWORD argb, HFONT font, UINT dtFormat)
{
    if (!text || !*text || (argb >> 24) == 0) return;
    const RECT area = Drawable(canvas, rc);
    if (Pixel::IsEmpty(area)) return;
    HDC dc = canvas.GetDC();

    HGDIOBJ oldFont = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF));
    SelectClipRgn(dc, nullptr);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);

    // Our text is const and we only draw: no measuring, no rewriting the string.
    RECT box = rc;
    ::DrawTextW(dc, text, -1, &box, dtFormat & ~static_cast<UINT>(DT_CALCRECT | DT_MODIFYSTRING));

    SelectClipRgn(dc, nullptr);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    // GDI may batch; the pixels must be in memory before we touch them ourselves.
    GdiFlush();
    RestoreAlpha(canvas, area);
}

SIZE Render::MeasureText(HDC hdc, const wchar_t* text, HFONT font)
{
    SIZE size{0, 0};
    HDC dc = hdc;
    HDC owned = nullptr;
    if (!dc) dc = owned = CreateCompatibleDC(nullptr);
    if (!dc) return size;
    HGDIOBJ oldFont = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    const int length = text ? static_cast<int>(wcslen(text)) : 0;
    if (length > 0) {
        GetTextExtentPoint32W(dc, text, length, &size);
    } else {
        // An empty line still has the font's height.
        TEXTMETRICW tm{};
        if (GetTextMetricsW(dc, &tm)) size.cy = tm.tmHeight;
    }
    SelectObject(dc, oldFont);
    if (owned) DeleteDC(owned);
    return size;
}

} // namespace DuiLib
