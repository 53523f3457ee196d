// Saves PNGs of a generated clip playing with a shape, a LOMO look and a texture, and of
// detailed stills as the window (625x352 for 1080p at 840x600) and the 1280x800 screen show them.
// Usage: avcore_shots MEDIA_DIR OUT_DIR (Windows paths)
#include <windows.h>

#include <cstdio>
#include <string>

#include "avcore/avplayer.h"
#include "avcore/avplayer_probe.h"
#include "support/pump.h"
#include "support/screenshot.h"

namespace {

struct Shot {
    int shape;
    int effect;
    const wchar_t* name;
};

constexpr Shot kShots[] = {
    {1, 0, L"avcore-shape1-ellipse.png"},
    {0, 10, L"avcore-lomo10.png"},
    {0, 515, L"avcore-texture3.png"},
    {2, 258, L"avcore-drop-ice.png"},
};

struct StillShot {
    const char* clip;
    int width, height;  // the picture's place
    const wchar_t* name;
};

constexpr StillShot kStills[] = {
    {"still-1920x1080.mp4", 625, 352, L"avcore-still-window.png"},
    {"still-1920x1080.mp4", 1280, 800, L"avcore-still-fullscreen.png"},
    {"still-640x360.mp4", 1280, 800, L"avcore-still360-fullscreen.png"},
};

HWND MakeWindow(int width, int height)
{
    return CreateWindowExW(0, L"MorvaneShots", L"shots", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Plays clip in hwnd from `at` seconds, pauses and saves the window; false when anything failed.
bool Shoot(avplayer& player, HWND hwnd, const std::string& clip, int shape, int effect, const std::wstring& path)
{
    player.subclasswindow(hwnd, 1);
    if (!player.open(clip.c_str(), 0, 2, shape, effect)) {
        fprintf(stderr, "cannot open %s\n", clip.c_str());
        return false;
    }
    player.play(1.0, 0);
    testsupport::PumpUntil([&] { return avplayer_probe::counters(player).presented > 3; });
    player.pause();
    testsupport::PumpIdle();
    const bool saved = testsupport::SaveWindowPng(hwnd, path.c_str());
    player.stop();
    player.close();
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: avcore_shots MEDIA_DIR OUT_DIR\n");
        return 2;
    }
    const std::string media(argv[1]), clip = media + "\\clip.mp4";
    const std::string out(argv[2]);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = L"MorvaneShots";
    RegisterClassW(&wc);
    const std::wstring outDir = std::wstring(out.begin(), out.end()) + L"\\";
    HWND hwnd = MakeWindow(640, 400);
    int failures = 0;
    avplayer player;
    for (const Shot& s : kShots)
        failures += !Shoot(player, hwnd, clip, s.shape, s.effect, outDir + s.name);
    for (const StillShot& s : kStills)
        failures += !Shoot(player, MakeWindow(s.width, s.height), media + "\\" + s.clip, 0, 0, outDir + s.name);
    fflush(stdout);
    ExitProcess(failures ? 1 : 0);  // no DestroyWindow: Wine waits two seconds for it without a window manager
}
