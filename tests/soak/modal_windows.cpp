#include "soak/modal_windows.h"

#include <algorithm>
#include <iterator>
#include <vector>
#include "e2e/desktop_io.h"
#include "e2e/player_process.h"

namespace soak {

namespace {

bool IsLasting(const std::wstring& className) {
    static const wchar_t* const kLasting[] = {L"PlayerMainWnd", L"VideoRealWnd", L"PlayerBarWnd", L"tooltips_class32"};
    return std::any_of(std::begin(kLasting), std::end(kLasting),
                       [&](const wchar_t* name) { return className == name; });
}

std::vector<HWND> OpenModals(DWORD processId) {
    std::vector<HWND> open = e2e::TopWindows(processId);
    std::erase_if(open, [](HWND hwnd) { return IsLasting(e2e::ClassOf(hwnd)); });
    return open;
}

bool Gone(HWND hwnd) { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }

} // namespace

void CloseModalWindows(DWORD processId, ModalTally& tally) {
    // One closed window may have been the owner of the next, so look again after each.
    for (int round = 0; round < 8; ++round) {
        const std::vector<HWND> open = OpenModals(processId);
        if (open.empty()) return;
        const HWND hwnd = open.front();
        const std::wstring className = e2e::ClassOf(hwnd);
        SetForegroundWindow(hwnd);
        e2e::PressKey(VK_ESCAPE);
        if (testsupport::PumpUntil([&] { return Gone(hwnd); }, 2000)) {
            ++tally.byEscape;
        } else {
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
            if (!testsupport::PumpUntil([&] { return Gone(hwnd); }, 5000)) {
                ++tally.stuck;
                return;
            }
            ++tally.byCloseMessage;
        }
        ++tally.closedByClass[className];
    }
}

} // namespace soak
