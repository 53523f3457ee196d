#pragma once
// The windows a player opens over its own and a user closes again: the file
// dialog, message boxes, the settings window, a menu.
#include <windows.h>
#include <map>
#include <string>

namespace soak {

struct ModalTally {
    std::map<std::wstring, int> closedByClass;
    int byEscape = 0;
    int byCloseMessage = 0;
    int stuck = 0;   // still open after Escape and WM_CLOSE
    int Closed() const { return byEscape + byCloseMessage; }
};

// Closes every visible top-level window of the process that is not one of the
// player's lasting windows (main window, video window, full-screen bar, tooltips):
// Escape first, as a user would, then WM_CLOSE.
void CloseModalWindows(DWORD processId, ModalTally& tally);

} // namespace soak
