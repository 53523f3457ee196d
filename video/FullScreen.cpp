// Full screen: the video window leaves the main window for the whole primary screen
// and comes back to the exact place it had; the bar comes up from the bottom edge.
#include <windowsx.h>
#include "app/MainFrame.h"
#include "video/PlayBarFrame.h"
#include "video/PlayBarRules.h"
#include "video/VideoRealWnd.h"

namespace DuiLib {

namespace {

// Clears both WS_POPUP and WS_CHILD, keeping every other style bit.
constexpr LONG kNotPopupNorChild = 0x3FFFFFFF;

void SetKind(HWND hwnd, LONG kind) {
    ::SetWindowLongW(hwnd, GWL_STYLE, (::GetWindowLongW(hwnd, GWL_STYLE) & kNotPopupNorChild) | kind);
}

} // namespace

void CVideoRealWnd::ToggleFullScreen() {
    if (!m_bFullScreen) {
        m_bFullScreen = 1;
        const int cx = ::GetSystemMetrics(SM_CXSCREEN);
        const int cy = ::GetSystemMetrics(SM_CYSCREEN);
        m_wndPlacement.length = sizeof(m_wndPlacement);
        ::GetWindowPlacement(m_hWnd, &m_wndPlacement);
        const HWND hMain = ::GetParent(m_hWnd);
        SetKind(m_hWnd, WS_POPUP);
        ::SetParent(m_hWnd, nullptr);
        // Owned by the main window: one taskbar entry stands for the player, and closing
        // it closes the player, not the picture alone.
        ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hMain));
        // Activation is allowed: the full-screen window takes the keyboard, so Escape reaches it.
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, cx, cy, SWP_SHOWWINDOW);
        return;
    }

    m_bFullScreen = 0;
    // Without the main window (the loop has ended) there is nowhere to go back to.
    if (g_pMainFrame) {
        // Owned, the window would keep its top-most mark through the switch below.
        ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, 0);
        ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
        HWND hMain = g_pMainFrame->GetHWND();
        ::ShowWindow(hMain, SW_SHOW);
        ::SetParent(m_hWnd, hMain);
        SetKind(m_hWnd, WS_CHILD);
        ::SetWindowPlacement(m_hWnd, &m_wndPlacement);
    }
    HidePlayBar();
}

void CVideoRealWnd::ShowPlayBar(bool bShow) {
    if (!m_pPlayBar)
        return;
    if (!bShow || !m_bFullScreen) {
        HidePlayBar();
        return;
    }
    const int cx = ::GetSystemMetrics(SM_CXSCREEN);
    const int cy = ::GetSystemMetrics(SM_CYSCREEN);
    // The bar is our child, and our client area is the screen.
    ::SetWindowPos(m_pPlayBar->GetHWND(), nullptr, 0, cy - kPlayBarHeight, cx, kPlayBarHeight, SWP_NOZORDER);
    m_pPlayBar->ShowWindow(true, true);
    ::SetTimer(m_hWnd, kTimerPlayBar, kPlayBarTickMs, nullptr);
    m_dwLastActivity = ::GetTickCount();
    m_bPlayBarShown = 1;
}

void CVideoRealWnd::HidePlayBar() {
    if (!m_pPlayBar)
        return;
    m_dwLastActivity = 0;
    ::KillTimer(m_hWnd, kTimerPlayBar);
    m_pPlayBar->ShowWindow(false, true);
    m_bPlayBarShown = 0;
}

LRESULT CVideoRealWnd::OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    if (m_bFullScreen) {
        // Client coordinates are screen coordinates while we cover the screen.
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const RECT band = PlayBarBand(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
        if (::PtInRect(&band, pt))
            ShowPlayBar(true);
    }
    return WindowImplBase::OnMouseMove(uMsg, wParam, lParam, bHandled);
}

} // namespace DuiLib
