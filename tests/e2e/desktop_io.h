#pragma once
// What a user does and sees on the desktop: input through the system's input
// queue (to whatever window is at the point or has the focus), and the screen's
// pixels, where the engine's picture is (a window cannot print it).
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "support/screenshot.h"

namespace e2e {

void MoveMouseTo(POINT screen);
void ClickAt(POINT screen);                 // move, left press, left release
void RightClickAt(POINT screen);            // move, right press, right release
void DoubleClickAt(POINT screen);           // two clicks in a row at one point
void DragFromTo(POINT from, POINT to, int steps);   // press, move in steps, release
void TypeText(const std::wstring& text);    // one key press per character
void PressKey(WORD virtualKey);
void PressChord(WORD modifier, WORD virtualKey);   // the key while modifier is held (Alt+F4)

// The whole screen, and a window's place on it.
inline RECT ScreenRect() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }
inline RECT WindowRect(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}
// A visible window of its own (no child) over the whole screen: full screen.
inline bool CoversScreen(HWND hwnd) {
    const RECT rc = WindowRect(hwnd), screen = ScreenRect();
    return IsWindowVisible(hwnd) && EqualRect(&rc, &screen) && !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD);
}

using testsupport::CaptureScreen;   // the screen's pixels inside rc (screen coordinates)

// The pixels of one rectangle of a picture, compared exactly.
struct Patch {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    bool operator==(const Patch& other) const = default;
};
Patch Cut(const testsupport::Shot& shot, const RECT& rc);

bool SaveShot(const testsupport::Shot& shot, const std::wstring& path);

} // namespace e2e
