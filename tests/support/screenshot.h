#pragma once
// Test helpers for looking at windows: render a window (or raw BGRA pixels) to a PNG file.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// Captures a window's current picture (PrintWindow, falling back to the screen) as BGRA, top-down.
bool CaptureWindow(HWND hwnd, std::vector<uint32_t>& pixels, int& width, int& height);

// A captured picture, read as 0x00RRGGBB pixels.
struct Shot {
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
    uint32_t At(POINT pt) const { return At(pt.x, pt.y); }
    // Pixels in rc (clipped to the picture) whose three channels all exceed the threshold.
    int CountBright(const RECT& rc, uint32_t threshold = 0xC0) const;
};
bool CaptureWindow(HWND hwnd, Shot& shot);
// What the screen shows inside rc (screen coordinates), other programs' windows included.
bool CaptureScreen(const RECT& rc, Shot& shot);
// Writes BGRA (top-down) pixels as PNG through GDI+.
bool SaveBgraPng(const uint8_t* bgra, int width, int height, int stride, const wchar_t* path);
// Reads a picture file (PNG and the other GDI+ formats) as 0x00RRGGBB pixels.
bool LoadPicture(const wchar_t* path, Shot& shot);
// CaptureWindow + SaveBgraPng.
bool SaveWindowPng(HWND hwnd, const wchar_t* path);
// Folder for screenshots: %MORVANE_SHOTS% when set, else "screenshots" beside the test exe
// (in the build folder); created if missing.
std::wstring ScreenshotPath(const wchar_t* fileName);
// A gallery's picture: once the queue is idle, saved into folder (or ScreenshotPath when empty),
// with a line saying where it went or that it failed.
bool SaveGalleryPng(HWND hwnd, const std::wstring& folder, const wchar_t* name);

} // namespace testsupport
