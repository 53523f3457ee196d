// The main window's side of the picture: creating the video window, keeping it over
// "playregion", full screen, and showing playback in the full-screen bar.
#include "app/MainFrame.h"
#include "video/PlayBarFrame.h"
#include "video/VideoRealWnd.h"

namespace DuiLib {

void CMainFrame::CreateVideoWnd() {
    m_pVideoWnd = new CVideoRealWnd();
    HWND hwnd = m_pVideoWnd->Create(m_hWnd, L"VideoRealWnd", WS_CHILD, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr);
    if (!::IsWindow(hwnd)) {
        delete m_pVideoWnd;
        m_pVideoWnd = nullptr;
        return;
    }
    m_pVideoWnd->ShowWindow(false, true);
}

void CMainFrame::DestroyVideoWnd() {
    // Its native window ends with ours, being its child (or is ended here in full screen).
    delete m_pVideoWnd;
    m_pVideoWnd = nullptr;
}

void CMainFrame::FitVideoToPlayRegion() {
    if (!m_bReady)
        return;
    CControlUI* region = m_PaintManager.FindControl(L"playregion");
    if (!region)
        return;
    // In full screen the window belongs to the screen; it gets its saved place back on return.
    if (!m_pVideoWnd || m_pVideoWnd->m_bFullScreen)
        return;
    const RECT& rc = region->GetPos();
    ::SetWindowPos(m_pVideoWnd->GetHWND(), nullptr, rc.left, rc.top, region->GetWidth(), region->GetHeight(),
                   SWP_NOZORDER);
}

HWND CMainFrame::VideoWindow() { return m_pVideoWnd ? m_pVideoWnd->GetHWND() : nullptr; }

bool CMainFrame::IsFullScreen() { return m_pVideoWnd && m_pVideoWnd->m_bFullScreen; }

void CMainFrame::ToggleFullScreen() {
    if (m_pVideoWnd)
        m_pVideoWnd->ToggleFullScreen();
}

void CMainFrame::ShowNoVideoText(LPCTSTR text) {
    if (m_pVideoWnd)
        m_pVideoWnd->ShowNoVideoText(text);
}

void CMainFrame::ShowPlaybackInBar(const PlaybackView& view) {
    if (m_pVideoWnd && m_pVideoWnd->m_pPlayBar)
        m_pVideoWnd->m_pPlayBar->ShowPlayback(view);
}

void CMainFrame::ShowMuteInBar(bool bMuted) {
    if (m_pVideoWnd && m_pVideoWnd->m_pPlayBar)
        m_pVideoWnd->m_pPlayBar->ShowMute(bMuted);
}

} // namespace DuiLib
