#include "e2e/player_process.h"

#include "e2e/player_screen.h"

namespace e2e {

std::wstring PlayerUserFolder() {
    const std::wstring run = Env(L"MORVANE_E2E_DIR");
    return run.empty() ? L"" : run + L"\\appdata";
}

namespace {

// Inherited by the child with the rest of this process's environment.
std::wstring PrepareUserFolder(PlayerProcess::UserState state, const std::wstring& workDir) {
    const std::wstring userFolder = PlayerUserFolder();
    if (!userFolder.empty()) {
        SetEnvironmentVariableW(L"APPDATA", userFolder.c_str());
        // Another test's list would stand where this one expects an empty player.
        if (state == PlayerProcess::UserState::Fresh)
            DeleteFileW((userFolder + L"\\Morvane\\state.json").c_str());
    }
    return workDir;
}

} // namespace

PlayerProcess::PlayerProcess(const std::wstring& exePath, const std::wstring& workDir, const std::wstring& arguments,
                             UserState state)
    : ChildProcess(exePath, arguments, {.workDir = PrepareUserFolder(state, workDir)}) {}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = L"";
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::vector<HWND> TopWindows(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    const WNDENUMPROC match = [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == s->processId && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
        return TRUE;
    };
    EnumWindows(match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopWindow(DWORD processId, const wchar_t* className) {
    for (HWND hwnd : TopWindows(processId))
        if (ClassOf(hwnd) == className) return hwnd;
    return nullptr;
}

HWND FindDescendant(HWND parent, const wchar_t* className, int controlId) {
    struct Search {
        const wchar_t* className;
        int controlId;
        HWND found;
    } search{className, controlId, nullptr};
    // The first match ends the walk.
    const WNDENUMPROC match = [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (ClassOf(hwnd) != s->className || (s->controlId != -1 && GetDlgCtrlID(hwnd) != s->controlId)) return TRUE;
        s->found = hwnd;
        return FALSE;
    };
    EnumChildWindows(parent, match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace e2e
