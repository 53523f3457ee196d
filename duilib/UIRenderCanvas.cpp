// The back buffer: a top-down 32-bit DIB section selected into its own memory DC.
#include "duilib/UIRender.h"
#include "duilib/UIRenderPixel.h"

namespace DuiLib {

CCanvas::~CCanvas()
{
    if (m_hDC && m_hOldBitmap) SelectObject(m_hDC, m_hOldBitmap);
    if (m_hBitmap) DeleteObject(m_hBitmap);
    if (m_hDC) DeleteDC(m_hDC);
}

bool CCanvas::Resize(int cx, int cy)
{
    if (m_hBitmap && cx == m_cx && cy == m_cy) return true;
    if (!m_hDC) {
        m_hDC = CreateCompatibleDC(nullptr);
        if (!m_hDC) return false;
    }
    if (m_hBitmap) {
        SelectObject(m_hDC, m_hOldBitmap);
        DeleteObject(m_hBitmap);
        m_hBitmap = nullptr;
        m_hOldBitmap = nullptr;
        m_bits = nullptr;
        m_cx = m_cy = 0;
        m_clip = RECT{};
    }
    // Limits keep cx * cy * 4 far from overflow and refuse absurd sizes.
    if (cx <= 0 || cy <= 0 || cx > 32767 || cy > 32767) return false;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;  // top-down: row 0 is the top of the window
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return false;
    }
    m_hBitmap = bitmap;
    m_hOldBitmap = SelectObject(m_hDC, m_hBitmap);
    m_bits = static_cast<uint32_t*>(bits);
    m_cx = cx;
    m_cy = cy;
    m_clip = RECT{0, 0, cx, cy};
    return true;
}

RECT CCanvas::PushClip(const RECT& rc)
{
    RECT saved = m_clip;
    m_clip = Pixel::Intersect(m_clip, rc);
    return saved;
}

void CCanvas::RestoreClip(const RECT& saved)
{
    // Never let a stale or foreign rectangle widen the clip beyond the buffer.
    m_clip = Pixel::Intersect(saved, RECT{0, 0, m_cx, m_cy});
}

} // namespace DuiLib
