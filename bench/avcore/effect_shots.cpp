// Saves PNGs of a generated clip playing with a shape, a LOMO look and a texture.
// Usage: avcore_shots MEDIA_DIR OUT_DIR (Windows paths)
#include <windows.h>

#include <cstdio>
#include <string>

#include "avcore/avplayer.h"
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

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: avcore_shots MEDIA_DIR OUT_DIR\n");
        return 2;
    }
    const std::string clip = std::string(argv[1]) + "\\clip.mp4";
    const std::string out(argv[2]);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = L"MorvaneShots";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"shots", WS_POPUP | WS_VISIBLE, 0, 0, 640, 400, nullptr,
                                nullptr, wc.hInstance, nullptr);
    int failures = 0;
    avplayer player;
    for (const Shot& s : kShots) {
        player.subclasswindow(hwnd, 1);
        if (!player.open(clip.c_str(), 0, 2, s.shape, s.effect)) {
            fprintf(stderr, "cannot open %s\n", clip.c_str());
            return 1;
        }
        player.play(1.5, 0);
        testsupport::PumpMessages(600);
        player.pause();
        testsupport::PumpMessages(100);
        const std::wstring path = std::wstring(out.begin(), out.end()) + L"\\" + s.name;
        if (!testsupport::SaveWindowPng(hwnd, path.c_str())) ++failures;
        player.stop();
        player.close();
    }
    fflush(stdout);
    ExitProcess(failures ? 1 : 0);  // no DestroyWindow: Wine waits two seconds for it without a window manager
}
