#include "avcore/call_budget.h"

#include <atomic>
#include <cwctype>

namespace avcore {

namespace {

std::atomic<int> g_answered{0};
std::atomic<int> g_gaveUp{0};

bool StartsWith(const std::wstring& s, const wchar_t* prefix)
{
    for (size_t i = 0; prefix[i]; ++i)
        if (i >= s.size() || std::towupper(s[i]) != std::towupper(prefix[i])) return false;
    return true;
}

} // namespace

bool IsNetworkPath(const std::wstring& path)
{
    if (StartsWith(path, L"\\\\?\\UNC\\")) return true;
    // \\?\C:\... and \\.\device are local; any other \\name\ is a server.
    if (StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\")) {
        if (path.size() < 7 || path[5] != L':') return false;
        const wchar_t root[] = {path[4], L':', L'\\', 0};
        return GetDriveTypeW(root) == DRIVE_REMOTE;
    }
    if (StartsWith(path, L"\\\\") || StartsWith(path, L"//")) return true;
    if (path.size() >= 2 && path[1] == L':' && std::iswalpha(path[0])) {
        const wchar_t root[] = {path[0], L':', L'\\', 0};
        return GetDriveTypeW(root) == DRIVE_REMOTE;
    }
    // Relative: where the current folder is.
    return GetDriveTypeW(nullptr) == DRIVE_REMOTE;
}

DWORD CallBudgetMs(const std::wstring& path)
{
    return IsNetworkPath(path) ? kNetworkCallBudgetMs : kLocalCallBudgetMs;
}

void CountCallWait(bool answered)
{
    ++(answered ? g_answered : g_gaveUp);
}

CallWaits CallWaitsSoFar()
{
    return {g_answered.load(), g_gaveUp.load()};
}

} // namespace avcore
