#pragma once
// How long one engine call may keep its caller (the UI thread): a local file gets
// two seconds, a file on a network share ten, since a slow server is normal there.
#include <windows.h>

#include <string>

namespace avcore {

constexpr DWORD kLocalCallBudgetMs = 2000;
constexpr DWORD kNetworkCallBudgetMs = 10000;

// True for UNC paths (\\server\share, \\?\UNC\...) and paths on a mapped network drive.
bool IsNetworkPath(const std::wstring& path);
DWORD CallBudgetMs(const std::wstring& path);

// How the waits a call makes on the engine's other threads ended, counted for tests:
// with the answer waited for, or given up because the call's budget was spent.
struct CallWaits {
    int answered = 0;
    int gaveUp = 0;
};
void CountCallWait(bool answered);
CallWaits CallWaitsSoFar();

// A point in time a call must be back by.
class Deadline {
public:
    explicit Deadline(DWORD budgetMs) : m_end(GetTickCount64() + budgetMs) {}
    // Milliseconds left, less `reserve` kept for the work after the wait; 0 when spent.
    DWORD remainingMs(DWORD reserve = 0) const
    {
        const ULONGLONG now = GetTickCount64() + reserve;
        return now >= m_end ? 0 : static_cast<DWORD>(m_end - now);
    }

private:
    ULONGLONG m_end;
};

} // namespace avcore
