#include "avcore/presenter.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "avcore/letterbox.h"

namespace avcore {

namespace {

// Past this many pixels (an 8K screen) the picture is left to the system's own stretch
// rather than to a buffer of that size per drawing thread.
constexpr int64_t kMaxScaledPixels = int64_t{7680} * 4320;

struct WindowDc {
    HWND hwnd;
    HDC dc;
    // A cache DC even when the window class owns one: the UI thread may be using that.
    explicit WindowDc(HWND h)
        : hwnd(h), dc(GetDCEx(h, nullptr, DCX_CACHE | DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS)) {}
    ~WindowDc() { if (dc) ReleaseDC(hwnd, dc); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
};

} // namespace

void CopyPicture(const VideoFrame& frame, std::vector<uint8_t>& bgra)
{
    const size_t row = static_cast<size_t>(frame.width) * 4;
    bgra.resize(row * static_cast<size_t>(frame.height));
    for (int y = 0; y < frame.height; ++y)
        std::copy_n(frame.bgra.data() + static_cast<size_t>(y) * frame.stride, row, bgra.data() + y * row);
}

void DrawPicture(HDC dc, const RECT& client, const VideoFrame& frame, double aspect, ResizeScratch& scratch,
                 SubtitleOverlay* subtitles)
{
    if (frame.width <= 0 || frame.height <= 0 || frame.bgra.empty()) return;
    const RECT dst = FitPicture(client, aspect);
    PaintBars(dc, client, dst);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = frame.stride / 4;
    bi.bmiHeader.biHeight = -frame.height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    const int w = dst.right - dst.left, h = dst.bottom - dst.top;
    if (w <= 0 || h <= 0) return;
    // Text goes onto the picture at its shown size, so a copy is made even at 1:1.
    const bool withText = subtitles && subtitles->dueAt(frame.pts);
    if (w == frame.width && h == frame.height && !withText) {
        SetDIBitsToDevice(dc, dst.left, dst.top, w, h, 0, 0, 0, frame.height, frame.bgra.data(), &bi,
                          DIB_RGB_COLORS);
        return;
    }
    // Resized here with filtering, then copied 1:1: Wine's own stretch only picks pixels and
    // still takes 5-9 ms for a 1080p picture in a 720p window.
    if (int64_t{w} * h <= kMaxScaledPixels) {
        std::lock_guard<std::mutex> hold(scratch.lock);
        std::vector<uint8_t>& scaled = scratch.picture;
        scaled.resize(static_cast<size_t>(w) * 4 * h);
        if (scratch.scaler.scale(frame.bgra.data(), frame.width, frame.height, frame.stride, scaled.data(), w, h,
                                 w * 4)) {
            if (withText) subtitles->drawOnto(scaled.data(), w, h, w * 4, frame.pts);
            bi.bmiHeader.biWidth = w;
            bi.bmiHeader.biHeight = -h;
            SetDIBitsToDevice(dc, dst.left, dst.top, w, h, 0, 0, 0, h, scaled.data(), &bi, DIB_RGB_COLORS);
            return;
        }
    }
    // Past an 8K-sized buffer, or a shrink too steep for the scaler: the system's stretch,
    // without subtitles. Its halftone filtering costs ten times as much (30 ms a 1080p frame under Wine).
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, dst.left, dst.top, w, h, 0, 0, frame.width, frame.height, frame.bgra.data(), &bi,
                  DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

Presenter::~Presenter()
{
    detach();
}

bool Presenter::attach(HWND hwnd)
{
    if (hwnd && hwnd == m_hwnd.load() && IsWindow(hwnd)) return true;
    detach();
    if (!hwnd || !IsWindow(hwnd)) return false;
    // Fails when called from another thread than the window's: then we do not draw.
    if (!SetWindowSubclass(hwnd, &Presenter::SubclassProc, reinterpret_cast<UINT_PTR>(this),
                           reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hwnd.store(hwnd);
    return true;
}

void Presenter::detach()
{
    const HWND hwnd = m_hwnd.exchange(nullptr);
    if (!hwnd || !IsWindow(hwnd)) return;
    RemoveWindowSubclass(hwnd, &Presenter::SubclassProc, reinterpret_cast<UINT_PTR>(this));
    InvalidateRect(hwnd, nullptr, TRUE);
}

void Presenter::show(FramePtr frame, double aspect)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_frame = frame;
        m_aspect = aspect;
    }
    const HWND hwnd = m_hwnd.load();
    if (!frame || !hwnd) return;
    WindowDc dc(hwnd);
    RECT client{};
    if (!dc.dc || !GetClientRect(hwnd, &client)) return;
    DrawPicture(dc.dc, client, *frame, aspect, m_shownScratch, &m_subtitles);
}

void Presenter::clear()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_frame.reset();
    }
    if (const HWND hwnd = m_hwnd.load()) InvalidateRect(hwnd, nullptr, TRUE);
}

void Presenter::redraw()
{
    if (const HWND hwnd = m_hwnd.load(); hwnd && current()) InvalidateRect(hwnd, nullptr, FALSE);
}

FramePtr Presenter::current() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_frame;
}

bool Presenter::drawInto(HWND hwnd, HDC dc)
{
    FramePtr frame;
    double aspect = 1.0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        frame = m_frame;
        aspect = m_aspect;
    }
    if (!frame) return false;
    RECT client{};
    if (dc && GetClientRect(hwnd, &client)) DrawPicture(dc, client, *frame, aspect, m_paintScratch, &m_subtitles);
    return true;
}

bool Presenter::paint(HWND hwnd)
{
    if (!current()) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    drawInto(hwnd, dc);
    EndPaint(hwnd, &ps);
    return true;
}

LRESULT CALLBACK Presenter::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                         DWORD_PTR selfPtr)
{
    auto* self = reinterpret_cast<Presenter*>(selfPtr);
    switch (msg) {
    case WM_PAINT:
        if (self->paint(hwnd)) return 0;
        break;
    case WM_PRINTCLIENT:  // PrintWindow and thumbnails ask for the client this way
        if (self->drawInto(hwnd, reinterpret_cast<HDC>(wp))) return 0;
        break;
    case WM_ERASEBKGND:
        if (self->current()) return 1;  // the picture and its bars cover everything
        break;
    case WM_SIZE:
        if (self->current()) InvalidateRect(hwnd, nullptr, FALSE);
        break;
    case WM_NCDESTROY: {
        RemoveWindowSubclass(hwnd, &Presenter::SubclassProc, reinterpret_cast<UINT_PTR>(self));
        HWND expected = hwnd;
        self->m_hwnd.compare_exchange_strong(expected, nullptr);
        break;
    }
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace avcore
