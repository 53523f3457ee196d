#pragma once
// Shared helpers for the engine tests: the generated media, a plain test window,
// and process handle/thread counts.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace avtest {

// ANSI path of a generated file (MORVANE_MEDIA, a Unix path seen through drive Z:).
std::string MediaPath(const char* name);
// The file the ALSA file sink writes (MORVANE_AUDIO_CAPTURE), as a Windows path; empty if none.
std::wstring CapturePath();

// A raw file of the media folder (ffmpeg's reference pictures); empty if missing.
std::vector<uint8_t> ReadMedia(const char* name);
// Mean absolute difference per byte of two pictures of one size (255 when sizes differ).
double MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

// A window whose own procedure counts what it receives and paints itself a known colour, standing in
// for the player's skinned video window. It is a child of one shared top-level host (Wine takes two
// seconds to destroy a top-level window without a window manager).
class TestWindow {
public:
    static constexpr COLORREF kOwnColour = RGB(0, 160, 0);
    TestWindow(int width, int height);
    ~TestWindow();
    HWND hwnd() const { return m_hwnd; }
    int paints = 0, clicks = 0, doubleClicks = 0, keys = 0, timers = 0, sizes = 0;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND m_hwnd = nullptr;
};

// Seconds on the performance counter.
double Seconds();

// The host all test windows live in (a visible top-level window, never destroyed).
HWND HostWindow();

DWORD HandleCount();

} // namespace avtest
