#pragma once
// The start-up of the player, callable from wWinMain and from tests.
#include <windows.h>

// Title and class of the main window; a top-level window with both means we already run.
inline constexpr const wchar_t* kMainWindowTitle = L"Morvane_WNDNAME";
inline constexpr const wchar_t* kMainWindowClass = L"PlayerMainWnd";

#include <string>
#include <vector>

// Runs the player on this thread until its main window is closed. Answers 0 on
// every path: a running instance, a failed window, or a normal close. The paths
// (the command line's) are added and the first plays; when another instance runs
// they are handed to it instead.
int RunMorvane(HINSTANCE hInstance, const std::vector<std::wstring>& paths = {});
