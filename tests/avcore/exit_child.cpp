// Plays a file and leaves main while it plays, without stop, close or destruction:
// the player's own shut-down path. The test that runs it expects a prompt, clean exit.
#include <windows.h>

#include "avcore/avplayer.h"

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MorvaneExitChild";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"exit", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
                                wc.hInstance, nullptr);
    auto* player = new avplayer;  // never deleted, like the main window's engine
    player->subclasswindow(hwnd, 1);
    if (!player->open(argv[1], 0, 2, 0, 0)) return 3;
    player->play(0, 0);
    const ULONGLONG end = GetTickCount64() + 500;
    while (GetTickCount64() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(5);
    }
    return player->play_status() == 1 ? 0 : 4;
}
