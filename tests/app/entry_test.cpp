// Start-up and shut-down: the entry run in this process, and the real Morvane.exe
// started as a child process (single instance, a whole run, its resources).
#include <gtest/gtest.h>

#include <windows.h>
#include <string>
#include "app/Entry.h"
#include "app/frame_harness.h"

using namespace DuiLib;

namespace {

struct CreationWitness {
    bool sawCreate = false;
    bool frameSetBeforeCreate = false;
    bool readyAfterCreate = false;
    bool frameStillSetAfterCreate = false;
    HWND hwnd = nullptr;
};
CreationWitness g_witness;

bool IsMainWindow(HWND hwnd) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    return std::wstring(cls) == L"PlayerMainWnd";
}

// Sees WM_CREATE of the main window before and after the window handles it
// (the library runs InitWindow while handling it).
LRESULT CALLBACK BeforeProc(int code, WPARAM wParam, LPARAM lParam) {
    auto* cwp = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && cwp->message == WM_CREATE && IsMainWindow(cwp->hwnd)) {
        g_witness.sawCreate = true;
        g_witness.frameSetBeforeCreate = g_pMainFrame != nullptr;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK AfterProc(int code, WPARAM wParam, LPARAM lParam) {
    auto* cwp = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && cwp->message == WM_CREATE && IsMainWindow(cwp->hwnd)) {
        g_witness.hwnd = cwp->hwnd;
        g_witness.readyAfterCreate = g_pMainFrame && g_pMainFrame->m_bReady == 1;
        g_witness.frameStillSetAfterCreate = g_pMainFrame && g_pMainFrame->GetHWND() == cwp->hwnd;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

RECT g_shownRect{};
bool g_shownVisible = false;

// Once the loop runs: note where the window is, then close it as the user would.
void CALLBACK CloseFromLoop(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND hwnd = g_witness.hwnd;
    GetWindowRect(hwnd, &g_shownRect);
    g_shownVisible = IsWindowVisible(hwnd) != FALSE;
    CControlUI* close = g_pMainFrame->GetPaintManager().FindControl(L"btn_close");
    POINT at = apptest::CenterOf(close);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

void ExpectCentredAt840x600(const RECT& rc) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(rc.right - rc.left, 840);
    EXPECT_EQ(rc.bottom - rc.top, 600);
    EXPECT_NEAR(rc.left, work.left + (work.right - work.left - 840) / 2, 1);
    EXPECT_NEAR(rc.top, work.top + (work.bottom - work.top - 600) / 2, 1);
}

TEST(Entry, MainFrameIsReachableDuringInitAndClearedAfterTheLoop) {
    ASSERT_EQ(FindWindowW(nullptr, kMainWindowTitle), nullptr) << "another player is running";
    HHOOK before = SetWindowsHookExW(WH_CALLWNDPROC, BeforeProc, nullptr, GetCurrentThreadId());
    HHOOK after = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterProc, nullptr, GetCurrentThreadId());
    SetTimer(nullptr, 0, 700, CloseFromLoop);

    int rc = RunMorvane(GetModuleHandleW(nullptr));

    UnhookWindowsHookEx(before);
    UnhookWindowsHookEx(after);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(g_pMainFrame, nullptr);
    ASSERT_TRUE(g_witness.sawCreate);
    EXPECT_TRUE(g_witness.frameSetBeforeCreate);
    EXPECT_TRUE(g_witness.readyAfterCreate);
    EXPECT_TRUE(g_witness.frameStillSetAfterCreate);
    EXPECT_TRUE(g_shownVisible);
    ExpectCentredAt840x600(g_shownRect);
    // Closing hid the window; it and its object outlive the loop.
    ASSERT_TRUE(IsWindow(g_witness.hwnd));
    EXPECT_FALSE(IsWindowVisible(g_witness.hwnd));
    DestroyWindow(g_witness.hwnd);
}

// --- The real exe ----------------------------------------------------------------

#ifdef MORVANE_NO_EXE
#define MORVANE_EXE_PATH ""
#endif

class PlayerExe : public ::testing::Test {
protected:
    void SetUp() override {
        if (!*MORVANE_EXE_PATH)
            GTEST_SKIP() << "Morvane.exe is not built (the engine library is missing)";
    }
};

std::wstring PlayerExePath() {
    std::string unixPath = MORVANE_EXE_PATH;
    std::wstring path = L"Z:";
    for (char c : unixPath)
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

struct Child {
    HANDLE process = nullptr;
    DWORD pid = 0;
    ~Child() {
        if (process) {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
                TerminateProcess(process, 1);
            CloseHandle(process);
        }
    }
};

bool StartPlayer(Child& child, const std::wstring& args) {
    std::wstring cmd = L"\"" + PlayerExePath() + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    child.process = pi.hProcess;
    child.pid = pi.dwProcessId;
    return true;
}

// The main window of a process, if it has one yet.
HWND MainWindowOf(DWORD pid) {
    struct Search { DWORD pid; HWND found; } search{pid, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->pid && IsMainWindow(hwnd)) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(PlayerExe, ASecondStartFindsTheTitleAndEndsQuietly) {
    ASSERT_EQ(FindWindowW(nullptr, kMainWindowTitle), nullptr) << "another player is running";
    HWND marker = CreateWindowExW(0, L"STATIC", kMainWindowTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                                  100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(marker, nullptr);

    Child child;
    ASSERT_TRUE(StartPlayer(child, L"C:\\some\\video.mp4"));
    bool sawWindow = false;
    DWORD waited = 0;
    while (WaitForSingleObject(child.process, 50) == WAIT_TIMEOUT && waited < 60000) {
        waited += 50;
        apptest::Pump(0);
        sawWindow = sawWindow || MainWindowOf(child.pid);
    }
    DWORD code = 0xFFFFFFFF;
    ASSERT_TRUE(GetExitCodeProcess(child.process, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(sawWindow);
    DestroyWindow(marker);
}

TEST_F(PlayerExe, StartsCentredAndClosesWithExitCodeZero) {
    ASSERT_EQ(FindWindowW(nullptr, kMainWindowTitle), nullptr) << "another player is running";
    Child child;
    ASSERT_TRUE(StartPlayer(child, L"C:\\ignored\\argument.mp4"));
    HWND hwnd = nullptr;
    for (int i = 0; i < 600 && !hwnd; ++i) {
        ASSERT_EQ(WaitForSingleObject(child.process, 100), static_cast<DWORD>(WAIT_TIMEOUT)) << "the player ended";
        hwnd = MainWindowOf(child.pid);
    }
    ASSERT_NE(hwnd, nullptr);
    Sleep(300);
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    EXPECT_STREQ(title, kMainWindowTitle);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    RECT rc;
    GetWindowRect(hwnd, &rc);
    ExpectCentredAt840x600(rc);

    SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    ASSERT_EQ(WaitForSingleObject(child.process, 30000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(child.process, &code);
    EXPECT_EQ(code, 0u);
}

TEST_F(PlayerExe, CarriesItsResourcesAndManifest) {
    HMODULE exe = LoadLibraryExW(PlayerExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    const WORD chinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

    HRSRC manifest = FindResourceExW(exe, RT_MANIFEST, MAKEINTRESOURCEW(1), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(manifest, nullptr);
    std::string text(static_cast<const char*>(LockResource(LoadResource(exe, manifest))), SizeofResource(exe, manifest));
    EXPECT_NE(text.find("level=\"requireAdministrator\" uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    // "*" lets the one manifest serve a 64-bit build; "x86" would stop it from starting.
    EXPECT_NE(text.find("processorArchitecture=\"*\""), std::string::npos);

    EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(131), L"ZIPRES"), nullptr);
    EXPECT_NE(FindResourceExW(exe, RT_GROUP_ICON, MAKEINTRESOURCEW(107), chinese), nullptr);
    EXPECT_NE(FindResourceExW(exe, RT_GROUP_ICON, MAKEINTRESOURCEW(108), chinese), nullptr);
    EXPECT_NE(FindResourceExW(exe, RT_MENU, MAKEINTRESOURCEW(109), chinese), nullptr);
    EXPECT_NE(FindResourceExW(exe, RT_DIALOG, MAKEINTRESOURCEW(103), chinese), nullptr);
    HICON large = static_cast<HICON>(LoadImageW(exe, MAKEINTRESOURCEW(107), IMAGE_ICON, 256, 256, 0));
    EXPECT_NE(large, nullptr);
    if (large)
        DestroyIcon(large);

    wchar_t buf[100] = {};
    LoadStringW(exe, 103, buf, 100);
    EXPECT_STREQ(buf, L"Morvane");
    LoadStringW(exe, 109, buf, 100);
    EXPECT_STREQ(buf, L"MORVANE");

    HACCEL accel = LoadAcceleratorsW(exe, MAKEINTRESOURCEW(109));
    ASSERT_NE(accel, nullptr);
    ACCEL entries[4] = {};
    ASSERT_EQ(CopyAcceleratorTableW(accel, entries, 4), 2);
    for (const ACCEL& a : entries) {
        if (!a.cmd)
            continue;
        EXPECT_EQ(a.cmd, 104);
        EXPECT_TRUE(a.fVirt & FALT);
        EXPECT_TRUE(a.key == '?' || a.key == '/');
    }
    DestroyAcceleratorTable(accel);
    FreeLibrary(exe);
}

} // namespace
