// The window chrome of a borderless skinned window: client area, hit testing,
// size limits and the system commands, with the maximise/restore pair kept in step.
#include "app/MainFrame.h"

namespace DuiLib {

namespace {

// Controls that take clicks inside the caption band; anything else there drags.
bool TakesClicksInCaption(const CControlUI* control) {
    static const wchar_t* const kClickable[] = {L"ButtonUI", L"OptionUI", L"TextUI", L"RemoveButtonUI"};
    for (const wchar_t* name : kClickable)
        if (::lstrcmpiW(control->GetClass(), name) == 0)
            return true;
    return false;
}

bool DragsWindow(CControlUI* control) { return control && !TakesClicksInCaption(control); }

} // namespace

LRESULT CMainFrame::OnNcCalcSize(UINT, WPARAM, LPARAM, BOOL&) {
    // The whole window rectangle is client area; the skin draws its own frame.
    return 0;
}

LRESULT CMainFrame::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return HitTestFrame(lParam, DragsWindow);
}

LRESULT CMainFrame::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMaxPosition = {0, 0};
    info->ptMaxTrackSize = {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    SIZE minSize = m_PaintManager.GetMinInfo();
    info->ptMinTrackSize = {minSize.cx, minSize.cy};
    // Default processing goes on with the filled record.
    bHandled = FALSE;
    return 0;
}

LRESULT CMainFrame::OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    return WindowImplBase::OnSize(uMsg, wParam, lParam, bHandled);
}

LRESULT CMainFrame::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    if (wParam == SC_CLOSE) {
        SaveUserState();
        // Closing only hides the window and ends the loop; nothing is torn down and
        // the engine is not stopped, the process simply ends.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        placement.flags = WPF_RESTORETOMAXIMIZED;
        placement.showCmd = SW_HIDE;
        ::SetWindowPlacement(m_hWnd, &placement);
        ::PostQuitMessage(0);
        bHandled = TRUE;
        return 0;
    }
    // Whatever sent the command (buttons, caption double-click, system keys), the
    // maximise/restore pair follows the resulting state.
    bool bWasZoomed = ::IsZoomed(m_hWnd) != FALSE;
    LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    bool bZoomed = ::IsZoomed(m_hWnd) != FALSE;
    if (bZoomed != bWasZoomed)
        ShowMaximizedButtons(bZoomed);
    return lRes;
}

} // namespace DuiLib
