// Start-up and shut-down: the entry run in this process, and the real Morvane.exe
// started as a child process (single instance, a whole run, its resources).
#include <algorithm>
#include <cstdlib>
#include "app/Entry.h"
#include "app/frame_harness.h"
#include "duilib/UIPath.h"
#include "support/child_process.h"
#include "support/paths.h"

using namespace DuiLib;

namespace {

bool IsMainWindow(HWND hwnd) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    return std::wstring(cls) == L"PlayerMainWnd";
}

// A main window of the given process. Other test programs on the same desktop show
// main windows of their own, so only the process under test counts.
HWND MainWindowOf(DWORD processId) {
    for (HWND hwnd = nullptr; (hwnd = FindWindowExW(nullptr, hwnd, L"PlayerMainWnd", nullptr));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == processId)
            return hwnd;
    }
    return nullptr;
}

// The starts here keep the user's state beside this test, emptied once per run, never
// in the profile other tests' players read.
class OwnUserFolder : public ::testing::Environment {
public:
    void SetUp() override {
        const std::wstring folder = GetModuleFolder() + L"\\appdata";
        DeleteFileW((folder + L"\\Morvane\\state.json").c_str());
        SetEnvironmentVariableW(L"APPDATA", folder.c_str());
    }
};
::testing::Environment* const kOwnUserFolder = ::testing::AddGlobalTestEnvironment(new OwnUserFolder);

// What was true right after the main window handled WM_CREATE, where the library
// builds the layout and runs InitWindow.
HWND g_created = nullptr;
bool g_initRanWithFrameSet = false;

LRESULT CALLBACK AfterCreate(int code, WPARAM wParam, LPARAM lParam) {
    auto* cwp = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && cwp->message == WM_CREATE && IsMainWindow(cwp->hwnd)) {
        g_created = cwp->hwnd;
        g_initRanWithFrameSet = g_pMainFrame && g_pMainFrame->m_bReady == 1 && g_pMainFrame->GetHWND() == cwp->hwnd;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool g_shownVisible = false;

// Once the loop runs, close the window as the user would.
void CALLBACK CloseFromLoop(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_shownVisible = IsWindowVisible(g_created) != FALSE;
    POINT at = apptest::CenterOf(g_pMainFrame->GetPaintManager().FindControl(L"btn_close"));
    PostMessageW(g_created, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(g_created, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

TEST(Entry, MainFrameIsReachableDuringInitAndClearedAfterTheLoop) {
    ASSERT_EQ(FindWindowW(nullptr, kMainWindowTitle), nullptr) << "another player is running";
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterCreate, nullptr, GetCurrentThreadId());
    SetTimer(nullptr, 0, 700, CloseFromLoop);
    int rc = RunMorvane(GetModuleHandleW(nullptr));
    UnhookWindowsHookEx(hook);

    EXPECT_EQ(rc, 0);
    EXPECT_EQ(g_pMainFrame, nullptr);
    EXPECT_TRUE(g_initRanWithFrameSet);
    EXPECT_TRUE(g_shownVisible);
    // Closing hid the window; it and its object outlive the loop.
    ASSERT_TRUE(IsWindow(g_created));
    EXPECT_FALSE(IsWindowVisible(g_created));
    DestroyWindow(g_created);
}

void CALLBACK DestroyFromOutside(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    DestroyWindow(FindWindowW(L"PlayerMainWnd", kMainWindowTitle));
}

TEST(Entry, AWindowDestroyedFromOutsideStillEndsTheLoop) {
    ASSERT_EQ(FindWindowW(nullptr, kMainWindowTitle), nullptr) << "another player is running";
    SetTimer(nullptr, 0, 700, DestroyFromOutside);
    int rc = -1;
    EXPECT_TRUE(apptest::RunLibraryLoopUntilQuit(10000, [&] { rc = RunMorvane(GetModuleHandleW(nullptr)); }))
        << "the process would have lived on without a window";
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(g_pMainFrame, nullptr);
    EXPECT_EQ(MainWindowOf(GetCurrentProcessId()), nullptr);
}

TEST(Entry, AWindowThatCannotBeCreatedEndsQuietly) {
    // A module without the skin archive: the layout cannot be built, so creation fails.
    int rc = -1;
    EXPECT_TRUE(apptest::RunLibraryLoopUntilQuit(5000, [&] { rc = RunMorvane(GetModuleHandleW(L"kernel32.dll")); }))
        << "entered the message loop without a window";
    testsupport::PumpIdle();
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(g_pMainFrame, nullptr);
    EXPECT_EQ(MainWindowOf(GetCurrentProcessId()), nullptr);
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
}

// --- The real exe ----------------------------------------------------------------

std::wstring PlayerExePath() { return testsupport::WindowsPath(MORVANE_EXE_PATH); }

// A started Morvane.exe; ended if a test leaves it running. Suspended, it waits for
// Resume, so two players can be let go at the same moment.
struct Player : testsupport::ChildProcess {
    explicit Player(const std::wstring& args, bool suspended = false)
        : ChildProcess(PlayerExePath(), args, {.suspended = suspended}) {}
};

// A window of another program that bears the player's title.
bool g_foreignGotPaths = false;

LRESULT CALLBACK ForeignProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    g_foreignGotPaths = g_foreignGotPaths || message == WM_COPYDATA;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST(PlayerExe, TwoStartsWithinMillisecondsGiveOneWindowAndAWindowOfTheSameTitleNoPaths) {
    ASSERT_EQ(FindWindowW(nullptr, kMainWindowTitle), nullptr) << "another player is running";
    WNDCLASSW wc{0, ForeignProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"ForeignTitle"};
    RegisterClassW(&wc);
    HWND foreign = CreateWindowExW(0, wc.lpszClassName, kMainWindowTitle, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                                   nullptr, nullptr, wc.hInstance, nullptr);
    g_foreignGotPaths = false;
    Player first(L"C:\\some\\first.mp4", true), second(L"C:\\some\\second.mp4", true);
    ASSERT_NE(first.Handle(), nullptr);
    ASSERT_NE(second.Handle(), nullptr);
    first.Resume();
    second.Resume();
    auto windows = [&] {
        return (MainWindowOf(first.Id()) ? 1 : 0) + (MainWindowOf(second.Id()) ? 1 : 0);
    };
    auto ended = [](const Player& p) { return !p.Running(); };
    int most = 0;
    // One start hands over and ends; the other keeps its window. Pumped, so that a
    // WM_COPYDATA sent to the foreign window arrives.
    testsupport::PumpUntil([&] {
        most = std::max(most, windows());
        return most > 1 || (ended(first) && ended(second)) || ((ended(first) || ended(second)) && windows() == 1);
    }, 60000);
    EXPECT_EQ(most, 1);
    EXPECT_EQ(windows(), 1);
    EXPECT_FALSE(g_foreignGotPaths);
    for (Player* p : {&first, &second}) {
        if (HWND own = MainWindowOf(p->Id()))
            SendMessageW(own, WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_EQ(WaitForSingleObject(p->Handle(), 30000), static_cast<DWORD>(WAIT_OBJECT_0));
        EXPECT_EQ(p->ExitCode(0), 0);
    }
    DestroyWindow(foreign);
}

TEST(PlayerExe, ASecondStartHandsItsPathsToTheRunningInstance) {
    ASSERT_EQ(FindWindowW(nullptr, kMainWindowTitle), nullptr) << "another player is running";
    // The running instance: a main window of this process, with the recording engine.
    CMainFrame* running = apptest::OpenMainFrame(kMainWindowTitle);
    ASSERT_NE(running, nullptr);
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);  // any existing file will do as the film
    {
        Player second(L"\"" + std::wstring(exe) + L"\"");
        ASSERT_NE(second.Handle(), nullptr);
        ASSERT_TRUE(testsupport::PumpUntil([&] { return !second.Running(); }, 60000));
        EXPECT_EQ(second.ExitCode(0), 0);
    }
    EXPECT_TRUE(testsupport::PumpUntil([&] { return running->m_pPlayList->GetCount() == 1; }, 3000));
    EXPECT_EQ(lstrcmpiW(running->m_pPlayList->GetItemAt(0)->GetName().GetData(), exe), 0);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return apptest::Engine(running).script.status == 1; }, 3000));
    apptest::DestroyMainFrame(running);
}

TEST(PlayerExe, StartsCentredAndClosesWithExitCodeZero) {
    ASSERT_EQ(FindWindowW(nullptr, kMainWindowTitle), nullptr) << "another player is running";
    Player player(L"C:\\ignored\\argument.mp4");
    HWND hwnd = nullptr;
    testsupport::PumpUntil([&] {
        hwnd = FindWindowW(L"PlayerMainWnd", kMainWindowTitle);
        return hwnd || !player.Running();
    }, 60000);
    ASSERT_TRUE(hwnd || player.Running()) << "the player ended";
    ASSERT_NE(hwnd, nullptr);
    // The window is visible from its creation; it is centred just after.
    RECT rc, work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const LONG centreLeft = work.left + (work.right - work.left - 840) / 2;
    const LONG centreTop = work.top + (work.bottom - work.top - 600) / 2;
    testsupport::PumpUntil([&] {
        GetWindowRect(hwnd, &rc);
        return IsWindowVisible(hwnd) && std::abs(rc.left - centreLeft) <= 1 && std::abs(rc.top - centreTop) <= 1;
    });
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(rc.right - rc.left, 840);
    EXPECT_EQ(rc.bottom - rc.top, 600);
    EXPECT_NEAR(rc.left, centreLeft, 1);
    EXPECT_NEAR(rc.top, centreTop, 1);

    SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    ASSERT_EQ(WaitForSingleObject(player.Handle(), 30000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(player.ExitCode(0), 0);
}

TEST(PlayerExe, CarriesItsResourcesAndAManifestForAnyArchitecture) {
    HMODULE exe = LoadLibraryExW(PlayerExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    HRSRC manifest = FindResourceExW(exe, RT_MANIFEST, MAKEINTRESOURCEW(1), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(manifest, nullptr);
    std::string text(static_cast<const char*>(LockResource(LoadResource(exe, manifest))), SizeofResource(exe, manifest));
    EXPECT_NE(text.find("level=\"requireAdministrator\" uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    // "x86" here would stop a 64-bit build from starting on Windows.
    EXPECT_NE(text.find("processorArchitecture=\"*\""), std::string::npos);

    const WORD chinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
    const std::pair<LPCWSTR, int> resources[] = {{RT_GROUP_ICON, 107}, {RT_GROUP_ICON, 108}, {RT_MENU, 109},
                                                 {RT_DIALOG, 103}, {RT_ACCELERATOR, 109}};
    for (const auto& [type, id] : resources)
        EXPECT_NE(FindResourceExW(exe, type, MAKEINTRESOURCEW(id), chinese), nullptr) << id;
    EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(131), L"ZIPRES"), nullptr);
    wchar_t title[100] = {}, spareClass[100] = {};
    LoadStringW(exe, 103, title, 100);
    LoadStringW(exe, 109, spareClass, 100);
    EXPECT_STREQ(title, L"Morvane");
    EXPECT_STREQ(spareClass, L"MORVANE");
    FreeLibrary(exe);
}

} // namespace
