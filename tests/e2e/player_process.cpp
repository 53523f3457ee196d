#include "e2e/player_process.h"

namespace e2e {

std::wstring PlayerUserFolder() {
    wchar_t run[1024] = L"";
    const DWORD n = GetEnvironmentVariableW(L"MORVANE_E2E_DIR", run, 1024);
    return n > 0 && n < 1024 ? std::wstring(run) + L"\\appdata" : L"";
}

PlayerProcess::PlayerProcess(const std::wstring& exePath, const std::wstring& workDir, const std::wstring& arguments,
                             UserState state) {
    // Inherited by the child with the rest of this process's environment.
    const std::wstring userFolder = PlayerUserFolder();
    if (!userFolder.empty()) {
        SetEnvironmentVariableW(L"APPDATA", userFolder.c_str());
        // Another test's list would stand where this one expects an empty player.
        if (state == UserState::Fresh)
            DeleteFileW((userFolder + L"\\Morvane\\state.json").c_str());
    }
    m_job = CreateJobObjectW(nullptr, nullptr);
    if (m_job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(m_job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    }
    std::wstring cmd = L"\"" + exePath + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exePath.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        workDir.c_str(), &si, &pi))
        return;
    if (m_job)
        AssignProcessToJobObject(m_job, pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    m_process = pi.hProcess;
    m_id = pi.dwProcessId;
}

long PlayerProcess::ExitCode(DWORD timeoutMs) const {
    if (!m_process || !WaitUntil([&] { return WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0; }, timeoutMs))
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_process, &code);
    return static_cast<long>(code);
}

PlayerProcess::~PlayerProcess() {
    if (m_process) {
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process, 1);
            WaitForSingleObject(m_process, 10000);
        }
        CloseHandle(m_process);
    }
    if (m_job)
        CloseHandle(m_job);
}

bool PlayerProcess::Running() const {
    return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

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

} // namespace

HWND FindTopWindow(DWORD processId, const wchar_t* className) {
    Search search{processId, className, -1, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid != s->processId || !IsWindowVisible(hwnd) || !HasClass(hwnd, s->className)) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDescendant(HWND parent, const wchar_t* className, int controlId) {
    Search search{0, className, controlId, nullptr};
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (!HasClass(hwnd, s->className) || (s->controlId != -1 && GetDlgCtrlID(hwnd) != s->controlId))
                return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs, DWORD pollMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (pred()) return true;
        if (GetTickCount64() >= end) return pred();
        const ULONGLONG until = GetTickCount64() + pollMs;
        for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
        }
    }
}

} // namespace e2e
