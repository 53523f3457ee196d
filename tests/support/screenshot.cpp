#include "screenshot.h"

#include <objidl.h>
#include <gdiplus.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "child_process.h"
#include "pump.h"

namespace testsupport {
namespace {

struct GdiplusSession {
    ULONG_PTR token = 0;
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
    }
};

void EnsureGdiplus() { static GdiplusSession session; }

bool PngEncoder(CLSID& clsid) {
    UINT count = 0, bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
    std::vector<uint8_t> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i)
        if (wcscmp(codecs[i].MimeType, L"image/png") == 0) { clsid = codecs[i].Clsid; return true; }
    return false;
}

struct DcDeleter { void operator()(HDC dc) const { if (dc) DeleteDC(dc); } };
struct BitmapDeleter { void operator()(HBITMAP bmp) const { if (bmp) DeleteObject(bmp); } };

// The pixels of rc (screen coordinates): the window's own picture when one is given
// and PrintWindow takes it, else what the screen shows there.
bool CaptureRect(const RECT& rc, HWND hwnd, std::vector<uint32_t>& pixels, int& width, int& height) {
    width = rc.right - rc.left;
    height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return false;

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter> mem(CreateCompatibleDC(screen));
    std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter> bmp(
        CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!mem || !bmp || !bits) { ReleaseDC(nullptr, screen); return false; }
    HGDIOBJ old = SelectObject(mem.get(), bmp.get());
    const bool ok = (hwnd && PrintWindow(hwnd, mem.get(), 0)) ||
                    BitBlt(mem.get(), 0, 0, width, height, screen, rc.left, rc.top, SRCCOPY) != FALSE;
    ReleaseDC(nullptr, screen);
    GdiFlush();
    pixels.assign(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + size_t(width) * height);
    for (auto& p : pixels) p |= 0xFF000000u;  // GDI leaves alpha undefined
    SelectObject(mem.get(), old);
    return ok;
}

} // namespace

bool CaptureWindow(HWND hwnd, std::vector<uint32_t>& pixels, int& width, int& height) {
    RECT rc{};
    if (!IsWindow(hwnd) || !GetWindowRect(hwnd, &rc)) return false;
    return CaptureRect(rc, hwnd, pixels, width, height);
}

bool CaptureScreen(const RECT& rc, Shot& shot) { return CaptureRect(rc, nullptr, shot.pixels, shot.width, shot.height); }

bool SaveBgraPng(const uint8_t* bgra, int width, int height, int stride, const wchar_t* path) {
    if (!bgra || width <= 0 || height <= 0) return false;
    EnsureGdiplus();
    CLSID png;
    if (!PngEncoder(png)) return false;
    Gdiplus::Bitmap bitmap(width, height, stride, PixelFormat32bppRGB, const_cast<BYTE*>(bgra));
    return bitmap.Save(path, &png, nullptr) == Gdiplus::Ok;
}

bool LoadPicture(const wchar_t* path, Shot& shot) {
    EnsureGdiplus();
    Gdiplus::Bitmap bitmap(path);
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return false;
    Gdiplus::BitmapData data{};
    const Gdiplus::Rect all(0, 0, static_cast<INT>(bitmap.GetWidth()), static_cast<INT>(bitmap.GetHeight()));
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppRGB, &data) != Gdiplus::Ok) return false;
    shot.width = static_cast<int>(data.Width);
    shot.height = static_cast<int>(data.Height);
    shot.pixels.resize(static_cast<size_t>(shot.width) * shot.height);
    for (int y = 0; y < shot.height; ++y)
        memcpy(shot.pixels.data() + static_cast<size_t>(y) * shot.width,
               static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride, size_t{4} * shot.width);
    bitmap.UnlockBits(&data);
    return true;
}

bool SaveWindowPng(HWND hwnd, const wchar_t* path) {
    Shot shot;
    return CaptureWindow(hwnd, shot) && SaveBgraPng(reinterpret_cast<const uint8_t*>(shot.pixels.data()), shot.width,
                                                    shot.height, shot.width * 4, path);
}

std::wstring ScreenshotPath(const wchar_t* fileName) {
    wchar_t dir[MAX_PATH * 2] = L"";
    const DWORD n = GetEnvironmentVariableW(L"MORVANE_SHOTS", dir, MAX_PATH * 2);
    // Else beside the test exe, which lives in the build folder: never in the sources,
    // whatever folder the test was started from.
    const std::wstring folder = n > 0 && n < MAX_PATH * 2 ? std::wstring(dir) : BesideThisExe(L"screenshots");
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\" + fileName;
}

bool CaptureWindow(HWND hwnd, Shot& shot) { return CaptureWindow(hwnd, shot.pixels, shot.width, shot.height); }

int Shot::CountBright(const RECT& rc, uint32_t threshold) const {
    int n = 0;
    for (int y = std::max(0L, rc.top); y < std::min(static_cast<LONG>(height), rc.bottom); ++y) {
        for (int x = std::max(0L, rc.left); x < std::min(static_cast<LONG>(width), rc.right); ++x) {
            const uint32_t p = At(x, y);
            if (((p >> 16) & 0xFF) > threshold && ((p >> 8) & 0xFF) > threshold && (p & 0xFF) > threshold) ++n;
        }
    }
    return n;
}

bool SaveGalleryPng(HWND hwnd, const std::wstring& folder, const wchar_t* name) {
    PumpIdle();
    const std::wstring path = folder.empty() ? ScreenshotPath(name) : folder + L"\\" + name;
    const bool ok = SaveWindowPng(hwnd, path.c_str());
    std::fwprintf(ok ? stdout : stderr, L"%ls %ls\n", ok ? L"saved" : L"FAILED", path.c_str());
    return ok;
}

} // namespace testsupport
