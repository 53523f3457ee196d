#include "e2e/desktop_io.h"

#include <algorithm>
#include "e2e/player_process.h"

namespace e2e {

namespace {

void Mouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT in{INPUT_MOUSE};
    in.mi = {dx, dy, 0, flags, 0, 0};
    SendInput(1, &in, sizeof(INPUT));
}

void Key(WORD vk, WCHAR unit, DWORD flags) {
    INPUT in{INPUT_KEYBOARD};
    in.ki = {vk, unit, flags, 0, 0};
    SendInput(1, &in, sizeof(INPUT));
}

bool PointerAt(POINT screen) {
    POINT at{};
    GetCursorPos(&at);
    return at.x == screen.x && at.y == screen.y;
}

// Under load a press sent right behind the move was now and then lost on the
// full-screen bar's buttons: press only once the pointer has stayed put a while.
void RestAt(POINT screen) {
    MoveMouseTo(screen);
    int still = 0;
    testsupport::PumpUntil([&] {
        if (!PointerAt(screen)) {
            MoveMouseTo(screen);
            still = 0;
        }
        return ++still >= 4;
    }, 1000, 30);
}

} // namespace

void MoveMouseTo(POINT screen) {
    // Absolute input runs 0..65535 over the primary screen; round up so the
    // pointer lands on the pixel itself, and correct it if the mapping differs.
    const LONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const LONG dx = static_cast<LONG>((static_cast<LONGLONG>(screen.x) * 65536 + w - 1) / w);
    const LONG dy = static_cast<LONG>((static_cast<LONGLONG>(screen.y) * 65536 + h - 1) / h);
    Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
    if (!PointerAt(screen)) {
        SetCursorPos(screen.x, screen.y);
        Mouse(MOUSEEVENTF_MOVE);
    }
}

void ClickAt(POINT screen) {
    RestAt(screen);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
}

void RightClickAt(POINT screen) {
    RestAt(screen);
    Mouse(MOUSEEVENTF_RIGHTDOWN);
    Mouse(MOUSEEVENTF_RIGHTUP);
}

void DragFromTo(POINT from, POINT to, int steps) {
    RestAt(from);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    // Each step waits until the pointer stands there, so the window sees a path, not a jump.
    for (int i = 1; i <= steps; ++i) {
        const POINT at{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        MoveMouseTo(at);
        testsupport::PumpUntil([&] { return PointerAt(at); }, 500, 10);
    }
    Mouse(MOUSEEVENTF_LEFTUP);
}

void DoubleClickAt(POINT screen) {
    ClickAt(screen);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
}

void TypeText(const std::wstring& text) {
    for (wchar_t unit : text) {
        Key(0, unit, KEYEVENTF_UNICODE);
        Key(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
    }
}

void PressKey(WORD virtualKey) {
    const WCHAR scan = static_cast<WCHAR>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    Key(virtualKey, scan, 0);
    Key(virtualKey, scan, KEYEVENTF_KEYUP);
}

void PressChord(WORD modifier, WORD virtualKey) {
    const WCHAR scan = static_cast<WCHAR>(MapVirtualKeyW(modifier, MAPVK_VK_TO_VSC));
    Key(modifier, scan, 0);
    PressKey(virtualKey);
    Key(modifier, scan, KEYEVENTF_KEYUP);
}

Patch Cut(const testsupport::Shot& shot, const RECT& rc) {
    Patch patch;
    const LONG left = std::max(0L, rc.left), top = std::max(0L, rc.top);
    const LONG right = std::min(static_cast<LONG>(shot.width), rc.right);
    const LONG bottom = std::min(static_cast<LONG>(shot.height), rc.bottom);
    if (right <= left || bottom <= top) return patch;
    patch.width = right - left;
    patch.height = bottom - top;
    patch.pixels.reserve(static_cast<size_t>(patch.width) * patch.height);
    for (LONG y = top; y < bottom; ++y)
        for (LONG x = left; x < right; ++x) patch.pixels.push_back(shot.At(x, y));
    return patch;
}

bool SaveShot(const testsupport::Shot& shot, const std::wstring& path) {
    return testsupport::SaveBgraPng(reinterpret_cast<const uint8_t*>(shot.pixels.data()), shot.width, shot.height,
                                    shot.width * 4, path.c_str());
}

} // namespace e2e
