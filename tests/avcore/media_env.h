#pragma once
// Shared helpers for the engine tests: the generated media, a plain test window,
// waiting while pumping messages, and process handle/thread counts.
#include <windows.h>

#include <functional>
#include <string>

namespace avtest {

// ANSI path of a generated file (MORVANE_MEDIA, a Unix path seen through drive Z:).
std::string MediaPath(const char* name);
// The file the ALSA file sink writes (MORVANE_AUDIO_CAPTURE), as a Windows path; empty if none.
std::wstring CapturePath();

// Pumps messages until pred() holds or the time runs out; returns pred().
bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs);

// A top-level window whose own procedure counts what it receives and paints itself
// a known colour, standing in for the player's skinned video window.
class TestWindow {
public:
    static constexpr COLORREF kOwnColour = RGB(0, 160, 0);
    TestWindow(int width, int height, DWORD style = WS_POPUP | WS_VISIBLE);
    ~TestWindow();
    HWND hwnd() const { return m_hwnd; }
    int paints = 0, clicks = 0, doubleClicks = 0, keys = 0, timers = 0, sizes = 0;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND m_hwnd = nullptr;
};

// Seconds on the performance counter.
double Seconds();

DWORD HandleCount();
int ThreadCount();

} // namespace avtest
