#pragma once
// A real main window for tests, made as the entry point makes it under another title (so a parallel
// start of the player is not taken for a running instance), with the recording engine inside.
#include <gtest/gtest.h>

#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "app/MainFrame.h"
#include "app_support/recording_avplayer.h"
#include "support/pump.h"

namespace apptest {

// Runs a message loop (the library's unless another is given) until the thread's quit
// message; false when timeoutMs passed first (the loop is then ended by a watchdog).
bool RunLibraryLoopUntilQuit(DWORD timeoutMs, const std::function<void()>& loop = nullptr);

// Creates, centres and shows a main window; InitWindow has run when it returns.
DuiLib::CMainFrame* OpenMainFrame(const wchar_t* title = L"MainFrameUnderTest");
// Destroys the native window; OnFinalMessage deletes the object.
void DestroyMainFrame(DuiLib::CMainFrame* frame);

recording::EngineRecord& Engine(DuiLib::CMainFrame* frame);

// What the player's window tests derive from: a fresh main window for each test,
// destroyed after it. A test prepares in its constructor and adds to the open window in SetUpWindow.
class MainWindowFixture : public ::testing::Test {
protected:
    struct Setup {
        bool global = false;      // g_pMainFrame points at it: the picture and the dialogs reach it so
        bool polling = true;      // false: the 100 ms tick is stopped, the test ticks itself
        bool clearEngine = true;  // the engine's record starts empty
    };
    explicit MainWindowFixture(Setup setup) : m_setup(setup) {}
    void SetUp() override;
    void TearDown() override;
    virtual void SetUpWindow() {}

    recording::EngineRecord& engine() const { return Engine(frame); }

    DuiLib::CMainFrame* frame = nullptr;
    HWND hwnd = nullptr;

private:
    Setup m_setup;
};
DuiLib::CControlUI* Find(DuiLib::CMainFrame* frame, const wchar_t* name);
bool IsShown(DuiLib::CMainFrame* frame, const wchar_t* name);   // found and visible
POINT CenterOf(const DuiLib::CControlUI* control);              // client coordinates
// A left click at a client point: move, press, release, each posted and pumped.
void Click(HWND hwnd, POINT client);
// A click at a control's centre once the window is laid out and painted.
void ClickControl(DuiLib::CMainFrame* frame, const wchar_t* name);
std::wstring TextOf(DuiLib::CMainFrame* frame, const wchar_t* name);
std::vector<std::wstring> RowNames(DuiLib::CMainFrame* frame);  // the playlist's paths, in order
// Hit-test answer for a client point (the message carries screen coordinates).
LRESULT HitTest(HWND hwnd, int x, int y);

// The WM_TIMER messages of windows on this thread, taken from its queue while the object
// lives, with the tick each was taken at.
class TimerLog {
public:
    TimerLog();
    ~TimerLog();
    TimerLog(const TimerLog&) = delete;
    TimerLog& operator=(const TimerLog&) = delete;

    // When each timer of that id was taken, of one window or of any.
    std::vector<ULONGLONG> Ticks(UINT_PTR id, HWND on = nullptr) const;
    void Clear() { s_taken.clear(); }

private:
    struct Taken {
        HWND hwnd;
        UINT_PTR id;
        ULONGLONG tick;
    };
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static inline std::vector<Taken> s_taken;
    HHOOK m_hook = nullptr;
};

// Answers the message boxes this thread shows while it lives (a thread timer that runs
// in the box's own loop), keeping what the last one said and whose it was.
class MessageBoxWatch {
public:
    MessageBoxWatch();
    ~MessageBoxWatch();
    MessageBoxWatch(const MessageBoxWatch&) = delete;
    MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

    static inline int count = 0;
    static inline std::wstring text, caption;
    static inline HWND owner = nullptr;

private:
    static void CALLBACK Answer(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR m_timer = 0;
};

} // namespace apptest
