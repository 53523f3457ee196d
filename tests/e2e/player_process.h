#pragma once
// The real Morvane.exe as a child process, and the windows it shows.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/pump.h"

namespace e2e {

// The user's folder (APPDATA) every player started here gets: the run's own
// (run_e2e.sh empties it), never the profile another run or test wrote its state to.
std::wstring PlayerUserFolder();

// A started player, in a job like every child of a test; each gets the run's own user
// folder. What the player finds of an earlier start's state: nothing, unless the test
// is about what a player remembers.
class PlayerProcess : public testsupport::ChildProcess {
public:
    enum class UserState { Fresh, Kept };
    // arguments follow the quoted exe path on its command line.
    PlayerProcess(const std::wstring& exePath, const std::wstring& workDir, const std::wstring& arguments = L"",
                  UserState state = UserState::Fresh);
};

std::wstring ClassOf(HWND hwnd);
// The visible top-level windows of the process, front first.
std::vector<HWND> TopWindows(DWORD processId);
// The first of them with this window class, or null.
HWND FindTopWindow(DWORD processId, const wchar_t* className);
// A descendant window with this class (and control id, unless -1), or null.
HWND FindDescendant(HWND parent, const wchar_t* className, int controlId = -1);

} // namespace e2e
