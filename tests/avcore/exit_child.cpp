// Plays a file and leaves main while it plays, without stop, close or destruction:
// the player's own shut-down path. The test that runs it expects a prompt, clean exit.
#include <windows.h>

#include "avcore/avplayer.h"

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"exit", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    auto* player = new avplayer;  // never deleted, like the main window's engine
    player->subclasswindow(hwnd, 1);
    if (!player->open(argv[1], 0, 2, 0, 0)) return 3;
    player->play(0, 0);
    // Half a second of play with the window's messages dispatched (the thread's own timer ends it).
    SetTimer(nullptr, 0, 500, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) && (msg.message != WM_TIMER || msg.hwnd)) DispatchMessageW(&msg);
    return player->play_status() == 1 ? 0 : 4;
}
