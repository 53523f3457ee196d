#include "app/frame_harness.h"

namespace apptest {

namespace {

bool g_watchdogFired = false;

// The harness pumps as the library's loop does: the managers see each message first.
const bool g_libraryFilter = (testsupport::SetMessageFilter(&DuiLib::CPaintManagerUI::TranslateMessage), true);

} // namespace

bool RunLibraryLoopUntilQuit(DWORD timeoutMs, const std::function<void()>& loop) {
    g_watchdogFired = false;
    UINT_PTR watchdog = SetTimer(nullptr, 0, timeoutMs, [](HWND, UINT, UINT_PTR, DWORD) {
        g_watchdogFired = true;
        PostQuitMessage(0);
    });
    if (loop)
        loop();
    else
        DuiLib::CPaintManagerUI::MessageLoop();
    KillTimer(nullptr, watchdog);
    return !g_watchdogFired;
}

DuiLib::CMainFrame* OpenMainFrame(const wchar_t* title) {
    DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    auto* frame = new DuiLib::CMainFrame();
    HWND hwnd = frame->Create(nullptr, title, WS_VISIBLE | WS_OVERLAPPEDWINDOW, WS_EX_APPWINDOW | WS_EX_STATICEDGE,
                              0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr);
    if (!hwnd) {
        delete frame;
        return nullptr;
    }
    frame->CenterWindow();
    ShowWindow(hwnd, SW_SHOWNORMAL);
    testsupport::PumpUntil([&] { return IsWindowVisible(hwnd) && !GetUpdateRect(hwnd, nullptr, FALSE); }, 5000);
    return frame;
}

void DestroyMainFrame(DuiLib::CMainFrame* frame) {
    if (frame && IsWindow(frame->GetHWND()))
        DestroyWindow(frame->GetHWND());
    testsupport::PumpIdle();
}

recording::EngineRecord& Engine(DuiLib::CMainFrame* frame) { return recording::Of(frame->m_player); }

void MainWindowFixture::SetUp() {
    frame = OpenMainFrame();
    ASSERT_NE(frame, nullptr);
    hwnd = frame->GetHWND();
    if (m_setup.global) g_pMainFrame = frame;
    if (!m_setup.polling) KillTimer(hwnd, DuiLib::kTimerPoll);
    if (m_setup.clearEngine) Engine(frame).Clear();
    SetUpWindow();
}

void MainWindowFixture::TearDown() {
    if (m_setup.global) g_pMainFrame = nullptr;  // or the main window's end would post a quit here
    DestroyMainFrame(frame);
}

DuiLib::CControlUI* Find(DuiLib::CMainFrame* frame, const wchar_t* name) {
    return frame->GetPaintManager().FindControl(name);
}

bool IsShown(DuiLib::CMainFrame* frame, const wchar_t* name) {
    DuiLib::CControlUI* control = Find(frame, name);
    return control && control->IsVisible();
}

POINT CenterOf(const DuiLib::CControlUI* control) {
    const RECT& rc = control->GetPos();
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void Click(HWND hwnd, POINT pt) {
    const LPARAM at = MAKELPARAM(pt.x, pt.y);
    for (UINT msg : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}) {
        PostMessageW(hwnd, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, at);
        testsupport::PumpIdle();
    }
}

void ClickControl(DuiLib::CMainFrame* frame, const wchar_t* name) {
    RedrawWindow(frame->GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Click(frame->GetHWND(), CenterOf(Find(frame, name)));
}

std::wstring TextOf(DuiLib::CMainFrame* frame, const wchar_t* name) { return Find(frame, name)->GetText().GetData(); }

std::vector<std::wstring> RowNames(DuiLib::CMainFrame* frame) {
    std::vector<std::wstring> names;
    for (int i = 0; i < frame->m_pPlayList->GetCount(); ++i)
        names.push_back(frame->m_pPlayList->GetItemAt(i)->GetName().str());
    return names;
}

LRESULT HitTest(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
}

TimerLog::TimerLog() : m_hook(SetWindowsHookExW(WH_GETMESSAGE, Hook, nullptr, GetCurrentThreadId())) {
    Clear();
}

TimerLog::~TimerLog() { UnhookWindowsHookEx(m_hook); }

LRESULT CALLBACK TimerLog::Hook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER && msg->hwnd)
        s_taken.push_back({msg->hwnd, msg->wParam, GetTickCount64()});
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<ULONGLONG> TimerLog::Ticks(UINT_PTR id, HWND on) const {
    std::vector<ULONGLONG> ticks;
    for (const Taken& t : s_taken)
        if (t.id == id && (!on || t.hwnd == on))
            ticks.push_back(t.tick);
    return ticks;
}

namespace {

// The first edit control among a dialog's descendants (a file dialog's name box), or null.
HWND FirstEditBox(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM result) -> BOOL {
            wchar_t kind[16] = {};
            GetClassNameW(child, kind, 16);
            if (std::wstring(kind) != L"Edit") return TRUE;
            *reinterpret_cast<HWND*>(result) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

MessageBoxWatch::MessageBoxWatch() {
    count = 0;
    text.clear();
    caption.clear();
    owner = nullptr;
    m_timer = SetTimer(nullptr, 0, 200, Answer);
}

MessageBoxWatch::~MessageBoxWatch() { KillTimer(nullptr, m_timer); }

void CALLBACK MessageBoxWatch::Answer(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(hwnd, cls, 16);
            // A message box is a dialog with its text in the static 0xFFFF and no name
            // box (the file dialog has such statics too).
            if (std::wstring(cls) != L"#32770" || !GetDlgItem(hwnd, 0xFFFF) || !IsWindowVisible(hwnd) ||
                FirstEditBox(hwnd))
                return TRUE;
            wchar_t buf[256] = {};
            GetWindowTextW(hwnd, buf, 256);
            caption = buf;
            GetDlgItemTextW(hwnd, 0xFFFF, buf, 256);
            text = buf;
            owner = GetWindow(hwnd, GW_OWNER);
            ++count;
            // Hidden at once, so the next tick does not count it twice.
            ShowWindow(hwnd, SW_HIDE);
            PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
            return FALSE;
        },
        0);
}

} // namespace apptest
