// The main window's side of the video window: creating it and keeping it over "playregion".
#include "app/MainFrame.h"
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

} // namespace DuiLib
