#include "e2e/player_process.h"

namespace e2e {

std::wstring PlayerUserFolder() {
    wchar_t run[1024] = L"";
    const DWORD n = GetEnvironmentVariableW(L"MORVANE_E2E_DIR", run, 1024);
    return n > 0 && n < 1024 ? std::wstring(run) + L"\\appdata" : L"";
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

namespace {

bool HasClass(HWND hwnd, const wchar_t* className) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    return wcscmp(cls, className) == 0;
}

struct Search {
    DWORD processId;
    const wchar_t* className;
    int controlId;
    HWND found;
};

// A window of the class (and control id, unless -1), and for a top-level search
// (processId set) a visible one of that process; the first match ends the walk.
BOOL CALLBACK Match(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if ((s->processId && (pid != s->processId || !IsWindowVisible(hwnd))) || !HasClass(hwnd, s->className) ||
        (s->controlId != -1 && GetDlgCtrlID(hwnd) != s->controlId))
        return TRUE;
    s->found = hwnd;
    return FALSE;
}

} // namespace

HWND FindTopWindow(DWORD processId, const wchar_t* className) {
    Search search{processId, className, -1, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDescendant(HWND parent, const wchar_t* className, int controlId) {
    Search search{0, className, controlId, nullptr};
    EnumChildWindows(parent, Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}


} // namespace e2e
