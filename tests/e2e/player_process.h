#pragma once
// The real Morvane.exe as a child process, and the windows it shows.
#include <windows.h>
#include <functional>
#include <string>

namespace e2e {

// The user's folder (APPDATA) every player started here gets: the run's own
// (run_e2e.sh empties it), never the profile another run or test wrote its state to.
std::wstring PlayerUserFolder();

// A started player. It is ended with this object, and with this process too (a
// job that kills on close), so no test path leaves it running.
class PlayerProcess {
public:
    // What the player finds of an earlier start's state: nothing, unless the test
    // is about what a player remembers.
    enum class UserState { Fresh, Kept };
    // arguments follow the quoted exe path on its command line.
    PlayerProcess(const std::wstring& exePath, const std::wstring& workDir, const std::wstring& arguments = L"",
                  UserState state = UserState::Fresh);
    ~PlayerProcess();
    PlayerProcess(const PlayerProcess&) = delete;
    PlayerProcess& operator=(const PlayerProcess&) = delete;

    bool Started() const { return m_process != nullptr; }
    bool Running() const;
    // Waits for the end; the exit code, or -1 when it still runs after timeoutMs.
    long ExitCode(DWORD timeoutMs) const;
    DWORD Id() const { return m_id; }

private:
    HANDLE m_job = nullptr;
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

// A visible top-level window of the process with this window class, or null.
HWND FindTopWindow(DWORD processId, const wchar_t* className);
// A descendant window with this class (and control id, unless -1), or null.
HWND FindDescendant(HWND parent, const wchar_t* className, int controlId = -1);

// Polls pred every pollMs, pumping this thread's messages, until it holds or
// timeoutMs passed; returns its last answer.
bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs, DWORD pollMs = 50);

} // namespace e2e
