// Process start-up: one instance, the UI library, the main window, the message loop.
#include "app/Entry.h"

#include "app/MainFrame.h"
#include "app/SingleInstance.h"
#include "app/resource.h"
#include "playback/OpenedPaths.h"
#include "state/StateFiles.h"

namespace {

// How long a second start waits for the window of a start just ahead of it.
constexpr DWORD kFirstWindowWaitMs = 10000;

INT_PTR CALLBACK AboutProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(hDlg, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// Procedure of the spare window class; the class is registered with the menu,
// the icons and the About box, but no window of it is ever made.
LRESULT CALLBACK SpareWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_ABOUT:
            ::DialogBoxParamW(reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hWnd, GWLP_HINSTANCE)),
                              MAKEINTRESOURCEW(IDD_ABOUTBOX), hWnd, AboutProc, 0);
            return 0;
        case IDM_EXIT:
            ::DestroyWindow(hWnd);
            return 0;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        ::BeginPaint(hWnd, &ps);
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

void RegisterSpareClass(HINSTANCE hInstance) {
    wchar_t className[100] = {};
    ::LoadStringW(hInstance, IDC_MORVANE, className, 100);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = SpareWndProc;
    wc.hInstance = hInstance;
    wc.hIcon = ::LoadIconW(hInstance, MAKEINTRESOURCEW(IDI_MORVANE));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDC_MORVANE);
    wc.lpszClassName = className;
    wc.hIconSm = ::LoadIconW(hInstance, MAKEINTRESOURCEW(IDI_SMALL));
    ::RegisterClassExW(&wc);
}

// Hands the paths to the running instance; a hung one is not waited on for long.
void ForwardPaths(HWND running, const std::vector<std::wstring>& paths) {
    const std::wstring block = playlist::PackPaths(paths);
    const size_t bytes = block.size() * sizeof(wchar_t);
    if (block.empty() || bytes > playlist::kMaxForwardedBytes)
        return;
    COPYDATASTRUCT data{};
    data.dwData = playlist::kForwardedPathsTag;
    data.cbData = static_cast<DWORD>(bytes);
    data.lpData = const_cast<wchar_t*>(block.data());
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                          5000, &answer);
}

} // namespace

int RunMorvane(HINSTANCE hInstance, const std::vector<std::wstring>& paths) {
    SingleInstance instance;
    if (HWND running = instance.RunningWindow(kFirstWindowWaitMs)) {
        if (!paths.empty())
            ForwardPaths(running, paths);
        ::SetForegroundWindow(running);
        return 0;
    }

    RegisterSpareClass(hInstance);
    DuiLib::CPaintManagerUI::SetInstance(hInstance);

    // Set before the native window exists: InitWindow and the windows it creates
    // already reach the main window through it.
    auto* frame = new DuiLib::CMainFrame();
    g_pMainFrame = frame;
    HWND hWnd = frame->Create(nullptr, kMainWindowTitle, WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                              WS_EX_APPWINDOW | WS_EX_STATICEDGE, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr);
    if (!::IsWindow(hWnd)) {
        // A failed Create leaves the object ours; a window that was made and then
        // destroyed at once has already deleted it in OnFinalMessage.
        if (!hWnd)
            delete frame;
        g_pMainFrame = nullptr;
        return 0;
    }
    if (!frame->RestoreUserState(userstate::StateFilePath()))
        frame->CenterWindow();
    ::ShowWindow(hWnd, ::IsZoomed(hWnd) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    if (!paths.empty())
        frame->OpenPaths(paths);

    DuiLib::CPaintManagerUI::MessageLoop();

    // The window and its object stay alive; the process ends with them.
    g_pMainFrame = nullptr;
    return 0;
}
