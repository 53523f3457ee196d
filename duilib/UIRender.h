#pragma once
// Drawing into a window's back buffer: a 32-bit top-down DIB section with a clip
// rectangle. Fills and images are alpha-blended in software; text goes through GDI.
#include <windows.h>
#include <cstdint>
#include "duilib/UIString.h"
#include "duilib/UIParse.h"

namespace DuiLib {

// Back buffer of one window; owns the DIB section and its memory DC.
class CCanvas {
public:
    CCanvas() = default;
    ~CCanvas();
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    // (Re)allocates for this size when it changed; false when the DIB cannot be made.
    bool Resize(int cx, int cy);
    HDC GetDC() const { return m_hDC; }
    uint32_t* Bits() const { return m_bits; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    // Intersects drawing with rc until the returned value is given back to RestoreClip.
    RECT PushClip(const RECT& rc);
    void RestoreClip(const RECT& saved);
    const RECT& Clip() const { return m_clip; }

private:
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    uint32_t* m_bits = nullptr;
    int m_cx = 0;
    int m_cy = 0;
    RECT m_clip{};
};

namespace Render {
    // Fills rc (clipped) with an ARGB colour; alpha blends over what is there.
    void FillRect(CCanvas& canvas, const RECT& rc, DWORD argb);
    // A border of the given width inside rc.
    void DrawBorder(CCanvas& canvas, const RECT& rc, int size, DWORD argb);
    // Draws an image attribute (bare path or description) into rcControl: dest, source and
    // nine-patch corners honoured, alpha-blended. False when the image is missing.
    bool DrawImage(CCanvas& canvas, const RECT& rcControl, const wchar_t* imageAttr);
    bool DrawImage(CCanvas& canvas, const RECT& rcControl, const TImageDesc& desc);
    // Single-line or wrapped text through GDI with DrawText flags (DT_*), in an ARGB colour.
    void DrawText(CCanvas& canvas, const RECT& rc, const wchar_t* text, DWORD argb, HFONT font, UINT dtFormat);
    // Size of text in a font (single line).
    SIZE MeasureText(HDC hdc, const wchar_t* text, HFONT font);
}

} // namespace DuiLib
