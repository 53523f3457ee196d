#pragma once
// One player per session. A start finds a running player by its main window (class
// and title, so another program's window of the same title is never taken for it),
// and by a named mutex, which a start holds from its first moment: a second start a
// few milliseconds behind the first waits for that first's window instead of making
// its own.
#include <windows.h>

#include <memory>
#include <type_traits>

class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();   // lets the next start be the one
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // The running player's main window, waited for up to waitMs while another start
    // holds the mutex without a window yet; null when this start is to run the player.
    HWND RunningWindow(DWORD waitMs);

private:
    std::unique_ptr<std::remove_pointer_t<HANDLE>, decltype(&::CloseHandle)> m_mutex{nullptr, &::CloseHandle};
    bool m_owned = false;
};
