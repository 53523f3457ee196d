#pragma once
// The start-up of the player, callable from wWinMain and from tests.
#include <windows.h>

// Title of the main window; a top-level window with this title means we already run.
inline constexpr const wchar_t* kMainWindowTitle = L"Morvane_WNDNAME";

// Runs the player on this thread until its main window is closed. Answers 0 on
// every path: a running instance, a failed window, or a normal close.
int RunMorvane(HINSTANCE hInstance);
