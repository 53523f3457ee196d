// Notices: message boxes that show above the window the user sees, so one raised from
// the full-screen bar never hides under the top-most picture.
#include "app/MainFrame.h"
#include "playback/PlayerTexts.h"
#include "video/VideoRealWnd.h"

namespace DuiLib {

HWND CMainFrame::NoticeOwner() {
    if (m_pVideoWnd && m_pVideoWnd->m_bFullScreen && ::IsWindowVisible(m_pVideoWnd->GetHWND()))
        return m_pVideoWnd->GetHWND();
    return m_hWnd;
}

void CMainFrame::ShowNotice(LPCTSTR text, HWND over) {
    ::MessageBoxW(over ? over : NoticeOwner(), text, kTextNoticeCaption, MB_OK);
}

} // namespace DuiLib
