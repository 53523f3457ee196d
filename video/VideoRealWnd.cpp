// The video window's hooks: its skin, and the gestures and keys on the picture handed
// to the main window's operations.
#include "video/VideoRealWnd.h"
#include <windowsx.h>
#include "app/MainFrame.h"
#include "video/PlayBarFrame.h"
#include "video/PlayBarRules.h"

namespace DuiLib {

CVideoRealWnd::~CVideoRealWnd() {
    // A child dies with the main window; only a full-screen window, parented to the
    // desktop, is still alive here, and must not stay on top of the screen without us.
    if (::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    // The bar's native window was our child and has gone with ours.
    delete m_pPlayBar;
    m_pPlayBar = nullptr;
}

LPCTSTR CVideoRealWnd::GetWindowClassName() const { return L"VideoRealWnd"; }
CDuiString CVideoRealWnd::GetSkinFolder() { return L"Res"; }
CDuiString CVideoRealWnd::GetSkinFile() { return L"VideoRealWnd.xml"; }
UINT CVideoRealWnd::GetResourceType() { return UILIB_ZIPRESOURCE; }
UINT CVideoRealWnd::GetResourceID() { return 131; }

// Return and Escape never reach the library's default response: HandleMessage takes
// both before the message filters run, and this answer keeps any other route inert.
LRESULT CVideoRealWnd::ResponseDefaultKeyEvent(WPARAM) { return 0; }

void CVideoRealWnd::InitWindow() {
    // The bar gets its real place each time it is shown in full screen.
    m_pPlayBar = new CPlayBarFrame(this);
    HWND bar = m_pPlayBar->Create(m_hWnd, L"PlayBarWnd", WS_CHILD, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr);
    if (!::IsWindow(bar)) {
        delete m_pPlayBar;
        m_pPlayBar = nullptr;
        return;
    }
    m_pPlayBar->ShowWindow(false, true);
    ::SetParent(bar, m_hWnd);
}

void CVideoRealWnd::ShowNoVideoText(LPCTSTR text) {
    CControlUI* label = m_PaintManager.FindControl(L"novideo");
    if (label && label->GetText() != text)
        label->SetText(text);  // invalidates it
}

CDuiString CVideoRealWnd::NoVideoText() {
    CControlUI* label = m_PaintManager.FindControl(L"novideo");
    return label ? label->GetText() : CDuiString();
}

LRESULT CVideoRealWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_LBUTTONDBLCLK:
        // The switch moves this window to another parent; done while the button is
        // still down, the window system can lose its release, and with it the resume
        // that keeps the video playing. So the switch follows the release.
        m_bToggleOnRelease = true;
        ::SetTimer(m_hWnd, kTimerToggleWithoutRelease, 500, nullptr);
        break;
    case WM_TIMER:
        if (wParam == kTimerPlayBar && IsPlayBarIdle(m_dwLastActivity, ::GetTickCount()))
            ShowPlayBar(false);
        if (wParam == kTimerToggleWithoutRelease)
            ToggleAfterDoubleClick();
        break;
    case WM_DROPFILES:
        // Dropped on the picture, in the main window or full screen: the playlist takes them.
        if (g_pMainFrame)
            g_pMainFrame->DropFiles(reinterpret_cast<HDROP>(wParam));
        else
            CMainFrame::DiscardDrop(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_KEYDOWN:
        if (g_pMainFrame ? g_pMainFrame->RunKey(wParam, nullptr, false) : wParam == VK_ESCAPE) {
            // Without the main window Escape still brings the picture back from full screen.
            if (!g_pMainFrame)
                ToggleFullScreen();
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        // The right button's release, or the menu key (-1: under the window's centre).
        if (g_pMainFrame) {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (lParam == -1) {
                RECT rc;
                ::GetWindowRect(m_hWnd, &rc);
                at = POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
            }
            g_pMainFrame->ShowPictureMenu(m_hWnd, at);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (g_pMainFrame)
            g_pMainFrame->WheelVolume(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_CLOSE:
        // Alt+F4 on the full-screen picture, or a close from outside: the player closes
        // as its own close button closes it. The picture never goes alone, which would
        // leave sound without a picture until the next start.
        if (g_pMainFrame)
            g_pMainFrame->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    default:
        break;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

LRESULT CVideoRealWnd::OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    return WindowImplBase::OnLButtonDown(uMsg, wParam, lParam, bHandled);
}

LRESULT CVideoRealWnd::OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    // A click on the picture is the same toggle as Enter and Space, and always
    // clears the bar out of the way.
    if (g_pMainFrame)
        g_pMainFrame->PauseOrResume();
    HidePlayBar();
    const LRESULT result = WindowImplBase::OnLButtonUp(uMsg, wParam, lParam, bHandled);
    ToggleAfterDoubleClick();
    return result;
}

void CVideoRealWnd::ToggleAfterDoubleClick() {
    if (!m_bToggleOnRelease)
        return;
    m_bToggleOnRelease = false;
    ::KillTimer(m_hWnd, kTimerToggleWithoutRelease);
    ToggleFullScreen();
}

LRESULT CVideoRealWnd::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

} // namespace DuiLib
