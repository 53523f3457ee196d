// One player per session: the named mutex, finding the running window, handing it the paths.
#include "app/SingleInstance.h"

#include "app/Entry.h"

namespace {

// Per session, as the title search is.
constexpr const wchar_t* kMutexName = L"Local\\Morvane.SingleInstance";
constexpr DWORD kPollMs = 20;

// The main window of a running player: its class and title, both.
HWND FindPlayerWindow() { return ::FindWindowW(kMainWindowClass, kMainWindowTitle); }

} // namespace

SingleInstance::SingleInstance() { m_mutex.reset(::CreateMutexW(nullptr, FALSE, kMutexName)); }

SingleInstance::~SingleInstance() {
    if (m_owned)
        ::ReleaseMutex(m_mutex.get());
}

HWND SingleInstance::RunningWindow(DWORD waitMs) {
    if (HWND running = FindPlayerWindow())
        return running;
    if (!m_mutex)
        return nullptr;
    const ULONGLONG end = ::GetTickCount64() + waitMs;
    for (;;) {
        // Free (or left by a start that ended): no one else is starting.
        const DWORD wait = ::WaitForSingleObject(m_mutex.get(), kPollMs);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            m_owned = true;
            return nullptr;
        }
        if (HWND running = FindPlayerWindow())
            return running;
        // A start that holds the mutex and never shows a window must not keep us out.
        if (wait != WAIT_TIMEOUT || ::GetTickCount64() >= end)
            return nullptr;
    }
}
