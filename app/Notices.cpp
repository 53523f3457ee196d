// Notices: message boxes that show above the window the user sees, so one raised from
// the full-screen bar never hides under the top-most picture.
#include "app/MainFrame.h"
#include "app/PlayerTexts.h"

namespace DuiLib {

HWND CMainFrame::NoticeOwner() {
    if (IsFullScreen() && ::IsWindowVisible(VideoWindow()))
        return VideoWindow();
    return m_hWnd;
}

void CMainFrame::ShowNotice(LPCTSTR text, HWND over) {
    ::MessageBoxW(over ? over : NoticeOwner(), text, kTextNoticeCaption, MB_OK);
}

} // namespace DuiLib
